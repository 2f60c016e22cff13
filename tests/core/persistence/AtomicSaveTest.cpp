#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ProjectFileWriter.h"
#include "core/persistence/ProjectFiles.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/ForkedChild.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

Project projectWithScenes(int count)
{
    Project project;
    for (int n = 1; n <= count; ++n) {
        Scene scene;
        scene.name = "Scene " + std::to_string(n);
        scene.settings = project.snapshotSettings();
        scene.settings[0].gainPosition = n % 73;
        project.scenes.append(scene);
    }
    return project;
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// Saves `project` to `path` the way Save does and describes what the operator saw and
// what became of the project, so a forked child can hand it back.
std::string saveAndDescribe(Project& project, const std::string& path)
{
    FakeClock clock;
    FakeTimers timers(clock);
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    RecentFileList recent("", op);
    ProjectFiles files(project, op, timers, dialogs, recent, "", nullptr);
    const auto outcome = files.writeFile(path);
    std::string text = outcome == ProjectFiles::SaveOutcome::Saved ? "saved" : "failed";
    for (const auto& box : op.shown)
        text += "|" + box.text;
    text += project.hasFile ? "|hasFile" : "|noFile";
    text += project.scenes.isModified(1) ? "|marked" : "|unmarked";
    return text;
}

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldProject = projectWithScenes(1);
        ASSERT_EQ(ProjectFileWriter::write(oldProject, target), ProjectFileWriter::Result::Saved);
        oldBytes = readBytes(target);
        newProject = projectWithScenes(3);
        newProject.scenes.setModified(1);
    }

    void expectOldFileUntouched()
    {
        EXPECT_EQ(readBytes(target), oldBytes);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"show.vpf"}) << "a temporary file was left behind";
    }

    TempFolder folder;
    std::string target = folder.file("show.vpf");
    Project oldProject;
    Project newProject;
    std::vector<std::uint8_t> oldBytes;
};

} // namespace

TEST_F(AtomicSave, ReplacesTheFileAndKeepsItsPermissions)
{
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    EXPECT_EQ(saveAndDescribe(newProject, target), "saved|hasFile|unmarked");
    EXPECT_EQ(readBytes(target).size(), 666754u);
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"show.vpf"});
}

TEST_F(AtomicSave, NewFileGetsThePermissionsOfAPlainCreate)
{
    const mode_t old = umask(022);
    EXPECT_EQ(ProjectFileWriter::write(newProject, folder.file("new.vpf")), ProjectFileWriter::Result::Saved);
    umask(old);
    EXPECT_EQ(modeOf(folder.file("new.vpf")), 0644u);
}

TEST_F(AtomicSave, SavingThroughLinksReplacesTheFileAtTheEndAndKeepsTheLinks)
{
    ASSERT_EQ(mkdir(folder.file("real").c_str(), 0755), 0);
    const std::string real = folder.file("real/show.vpf");
    ASSERT_EQ(rename(target.c_str(), real.c_str()), 0);
    ASSERT_EQ(symlink("real/show.vpf", folder.file("middle.vpf").c_str()), 0);
    ASSERT_EQ(symlink(folder.file("middle.vpf").c_str(), target.c_str()), 0);

    EXPECT_EQ(saveAndDescribe(newProject, target), "saved|hasFile|unmarked");

    struct stat st {};
    ASSERT_EQ(lstat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat(folder.file("middle.vpf").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(real).size(), 666754u);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"middle.vpf", "real", "show.vpf"}));
}

TEST_F(AtomicSave, DanglingLinkCreatesTheFileItPointsTo)
{
    ASSERT_EQ(symlink("elsewhere.vpf", folder.file("link.vpf").c_str()), 0);
    EXPECT_EQ(ProjectFileWriter::write(newProject, folder.file("link.vpf")), ProjectFileWriter::Result::Saved);
    EXPECT_EQ(readBytes(folder.file("elsewhere.vpf")).size(), 666754u);
}

TEST_F(AtomicSave, TargetThatIsAFolderIsRefusedBeforeAnythingIsWritten)
{
    const std::string dir = folder.file("dir.vpf");
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    Project project = projectWithScenes(2);
    project.scenes.setModified(1);
    EXPECT_EQ(saveAndDescribe(project, dir), "failed|Cannot open file " + dir + "|noFile|marked");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"dir.vpf", "show.vpf"}));
}

TEST_F(AtomicSave, MissingFolderCannotBeOpened)
{
    const std::string path = folder.file("gone/show.vpf");
    Project project = projectWithScenes(1);
    EXPECT_EQ(saveAndDescribe(project, path), "failed|Cannot open file " + path + "|noFile|unmarked");
}

TEST_F(AtomicSave, ReadOnlyFolderLeavesTheOldFile)
{
    ASSERT_EQ(chmod(folder.path().c_str(), 0755), 0);
    const ChildResult child = runInChild([&] {
        // Root writes anywhere; the test needs an ordinary user's view of the folder.
        if (geteuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return std::string("cannot drop privileges");
        } else if (chmod(folder.path().c_str(), 0555) != 0) {
            return std::string("cannot protect the folder");
        }
        return saveAndDescribe(newProject, target);
    });
    chmod(folder.path().c_str(), 0755);
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output, "failed|Cannot open file " + target + "|noFile|marked");
    expectOldFileUntouched();
}

TEST_F(AtomicSave, ReadOnlyFileIsNotReplaced)
{
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    const ChildResult child = runInChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return std::string("cannot drop privileges");
        return saveAndDescribe(newProject, target);
    });
    chmod(folder.path().c_str(), 0700);
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output, "failed|Cannot open file " + target + "|noFile|marked");
    expectOldFileUntouched();
    EXPECT_EQ(modeOf(target), 0444u);
}

TEST_F(AtomicSave, FileSizeLimitHitPartWayLeavesTheOldFile)
{
    const ChildResult child = runInChild([&] {
        // As on a full disk, the write comes back short and then fails.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 300000;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("cannot limit");
        return saveAndDescribe(newProject, target);
    });
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output, "failed|Failed to write file " + target + "|noFile|marked");
    expectOldFileUntouched();
}

TEST_F(AtomicSave, FullFileSystemLeavesTheOldFile)
{
    const std::string small = folder.file("small");
    ASSERT_EQ(mkdir(small.c_str(), 0755), 0);
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "no permission to mount a small file system here";
    // No ASSERT until the file system is unmounted again.
    const std::string path = small + "/show.vpf";
    EXPECT_EQ(ProjectFileWriter::write(oldProject, path), ProjectFileWriter::Result::Saved);
    const auto before = readBytes(path);

    Project big = projectWithScenes(4); // about 890 kB: cannot fit
    const std::string result = saveAndDescribe(big, path);
    const auto after = readBytes(path);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(small))
        left.push_back(e.path().filename().string());
    umount(small.c_str());

    EXPECT_EQ(result, "failed|Failed to write file " + path + "|noFile|unmarked");
    EXPECT_EQ(after, before);
    EXPECT_EQ(left, std::vector<std::string>{"show.vpf"});
}

TEST_F(AtomicSave, WriterDroppedBeforeCommitRemovesItsTemporaryFile)
{
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.write("partial", 7));
        EXPECT_EQ(folder.entries().size(), 2u);
    }
    expectOldFileUntouched();

    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.open());
    writer.abandon();
    EXPECT_FALSE(writer.write("x", 1));
    EXPECT_FALSE(writer.commit());
    expectOldFileUntouched();
}
