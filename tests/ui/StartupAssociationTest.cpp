// After start-up writes the project file association, the desktop's cache programs run,
// detached and with their output going nowhere, and only when a file changed.
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/UiTestSupport.h"

#include <QFile>

#include <filesystem>

namespace deskpanel::test {
namespace {

// Puts `folder` first on the search path for programs while it lives.
class ProgramsFirstFrom {
public:
    explicit ProgramsFirstFrom(const std::string& folder) : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", QByteArray::fromStdString(folder) + ':' + m_old);
    }
    ~ProgramsFirstFrom() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

// A stand-in for a cache program: each run appends its arguments and where its output
// goes, one line per run.
void writeRecordingProgram(const std::string& path, const std::string& log)
{
    writeText(path, "#!/bin/sh\necho \"$*|$(readlink /proc/$$/fd/1)|$(readlink /proc/$$/fd/2)\" >> '" + log + "'\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

QStringList runsIn(const std::string& log)
{
    QFile file(QString::fromStdString(log));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    // A line still being written does not count yet.
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

} // namespace

TEST_F(MainWindowTest, ChangedAssociationFilesRefreshTheDesktopCachesQuietly)
{
    const std::string bin = folder.file("bin");
    std::filesystem::create_directory(bin);
    const std::string mimeLog = folder.file("mime.log");
    const std::string desktopLog = folder.file("desktop.log");
    writeRecordingProgram(bin + "/update-mime-database", mimeLog);
    writeRecordingProgram(bin + "/update-desktop-database", desktopLog);
    ProgramsFirstFrom programs(bin);
    const std::string data = folder.file("share");
    const QString quietly = QStringLiteral("|/dev/null|/dev/null");
    const QStringList mimeRun{QString::fromStdString(data + "/mime") + quietly};
    const QStringList desktopRun{QString::fromStdString(data + "/applications") + quietly};

    MainWindowOptions refreshing = options();
    refreshing.refreshDesktopCaches = true;
    started(refreshing);
    EXPECT_TRUE(
        uitest::pumpUntil([&] { return runsIn(mimeLog).size() == 1 && runsIn(desktopLog).size() == 1; }, 10000));
    EXPECT_EQ(runsIn(mimeLog), mimeRun);
    EXPECT_EQ(runsIn(desktopLog), desktopRun);

    // The next start finds the same files and runs nothing; one after the desktop entry
    // went missing runs both again.
    started(refreshing);
    std::filesystem::remove(data + "/applications/deskpanel.desktop");
    started(refreshing);
    EXPECT_TRUE(
        uitest::pumpUntil([&] { return runsIn(mimeLog).size() >= 2 && runsIn(desktopLog).size() >= 2; }, 10000));
    EXPECT_EQ(runsIn(mimeLog), mimeRun + mimeRun);
    EXPECT_EQ(runsIn(desktopLog), desktopRun + desktopRun);
}

} // namespace deskpanel::test
