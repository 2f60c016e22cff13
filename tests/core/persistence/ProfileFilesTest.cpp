#include "core/persistence/FileAssociation.h"
#include "core/persistence/IniFile.h"
#include "core/persistence/InstallationRecord.h"
#include "core/persistence/ProfileLocations.h"
#include "core/persistence/SafetySettings.h"
#include "core/persistence/WindowPosition.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

// Points an environment variable somewhere for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(IniFile, NamesIgnoreCaseAndBlanksAndTheFirstDuplicateWins)
{
    const IniFile file = IniFile::parse("; comment\r\n[Data Directory]\r\n  last used directory  =  /shows/  \r\n"
                                        "[data directory]\r\nLast Used Directory=/other/\r\n"
                                        "[Q]\r\nA=\"  quoted  \"\r\nB='x'\r\nC=\"half\r\n");
    EXPECT_EQ(file.value("DATA DIRECTORY", "Last Used Directory"), "/shows/");
    EXPECT_EQ(file.value("q", "a"), "  quoted  ");
    EXPECT_EQ(file.value("q", "b"), "x");
    EXPECT_EQ(file.value("q", "c"), "\"half");
    EXPECT_EQ(file.value("q", "missing"), std::nullopt);
    EXPECT_EQ(file.value("missing", "a"), std::nullopt);
}

TEST(IniFile, ChangesKeepEveryOtherLine)
{
    IniFile file = IniFile::parse("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
    file.setValue("a", "X", "10");
    file.setValue("A", "z", "3");
    file.setValue("C", "w", "line\nbreak");
    EXPECT_EQ(file.text(), "; keep me\n[A]\nX=10\nz=3\n\n[B]\ny=2\n[C]\nw=line break\n");
    file.removeSection("b");
    file.removeKey("A", "x");
    EXPECT_EQ(file.text(), "; keep me\n[A]\nz=3\n\n[C]\nw=line break\n");
}

TEST(IniFile, CrLfFilesStayCrLfAndMissingFilesReadAsEmpty)
{
    TempFolder folder;
    const std::string path = folder.file("a.ini");
    EXPECT_EQ(readProfileString(path, "S", "k", "fallback"), "fallback");
    writeText(path, "[S]\r\nk=v\r\n");
    ASSERT_TRUE(writeProfileString(path, "S", "j", "w"));
    EXPECT_EQ(readText(path), "[S]\r\nk=v\r\nj=w\r\n");
    // The folder is made when missing.
    EXPECT_TRUE(writeProfileString(folder.file("deep/er/b.ini"), "S", "k", "v"));
    EXPECT_EQ(readProfileString(folder.file("deep/er/b.ini"), "s", "K"), "v");
}

TEST(WindowPosition, WritesTheDocumentedFormatAndReadsItBack)
{
    WindowPosition p;
    p.flags = 2;
    p.showState = 3;
    p.minX = -1;
    p.minY = -1;
    p.maxX = -8;
    p.maxY = -31;
    p.left = 10;
    p.top = 20;
    p.right = 1290;
    p.bottom = 1044;
    p.overviewShown = 1;
    p.maximized = 1;
    EXPECT_EQ(p.text(), "2,3,-1,-1,-8,-31,10,20,1290,1044 1 1");
    EXPECT_EQ(WindowPosition::parse(p.text()), p);

    TempFolder folder;
    WindowPosition::write(folder.file("DeskPanel.INI"), p);
    EXPECT_EQ(readText(folder.file("DeskPanel.INI")), "[Settings]\nWindowPos=2,3,-1,-1,-8,-31,10,20,1290,1044 1 1\n");
    EXPECT_EQ(WindowPosition::read(folder.file("DeskPanel.INI")), p);
    EXPECT_EQ(WindowPosition::read(folder.file("missing.INI")), std::nullopt);
}

TEST(WindowPosition, IsIgnoredUnlessAllTwelveNumbersAreThere)
{
    EXPECT_EQ(WindowPosition::parse("0,1,0,0,0,0,0,0,800,600 0"), std::nullopt);
    EXPECT_EQ(WindowPosition::parse("0,1,0,0,0,0,0,0,800,600,0,0"), std::nullopt);
    EXPECT_EQ(WindowPosition::parse("0,1,0,0,0,0,0,0,800,600 0 x"), std::nullopt);
    EXPECT_EQ(WindowPosition::parse(""), std::nullopt);
    EXPECT_EQ(WindowPosition::parse("-1,1,0,0,0,0,0,0,800,600 0 0"), std::nullopt);
    EXPECT_EQ(WindowPosition::parse("0,1,0,0,0,0,0,0,99999999999,600 0 0"), std::nullopt);
    // Any white space separates the last numbers, and trailing text is not looked at.
    const auto p = WindowPosition::parse("0,1,0,0,0,0,0,0,800,600\t1   0 extra");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->overviewShown, 1);
    EXPECT_EQ(p->bottom, 600);
}

TEST(ProfileLocations, LiveUnderTheConfigurationHome)
{
    TempFolder folder;
    ScopedEnv config("XDG_CONFIG_HOME", folder.path());
    ScopedEnv data("XDG_DATA_HOME", folder.file("data"));
    const auto at = ProfileLocations::forThisUser("DeskPanel", "/opt/deskpanel");
    EXPECT_EQ(at.settingsFile, folder.path() + "/DeskPanel/Veltara-RP8.ini");
    EXPECT_EQ(at.windowProfile, folder.path() + "/DeskPanel.INI");
    EXPECT_EQ(at.installationRecord, folder.path() + "/Veltara-RP8.ini");
    EXPECT_EQ(at.dataHome, folder.file("data"));

    // A relative setting does not count; the home's folder stands in.
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/path");
    ScopedEnv home("HOME", folder.path());
    EXPECT_EQ(ProfileLocations::forThisUser("DeskPanel", "").settingsFile,
              folder.path() + "/.config/DeskPanel/Veltara-RP8.ini");
}

TEST(InstallationRecord, GivesTheInstallationFolderOrNothing)
{
    TempFolder folder;
    const std::string record = folder.file("Veltara-RP8.ini");
    EXPECT_EQ(readInstallationFolder(record), "");
    writeText(record, "[File Location]\r\nMain Exe File=C:\\Program Files\\Veltara\r\n");
    EXPECT_EQ(readInstallationFolder(record), "C:\\Program Files\\Veltara");
}

TEST(FileAssociation, WritesAMimeTypeAndADesktopEntryUnderTheDataHome)
{
    TempFolder folder;
    const std::string data = folder.file("share");
    const FileAssociation::Outcome first =
        FileAssociation::registerAssociation(data, "/opt/Desk Panel/$bin/DeskPanel", "");
    ASSERT_TRUE(first.complete);
    EXPECT_TRUE(first.changed);
    const std::string mime = readText(data + "/mime/packages/deskpanel-vpf.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-veltara-project\">"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.vpf\"/>"), std::string::npos);
    const std::string desktop = readText(data + "/applications/deskpanel.desktop");
    EXPECT_NE(desktop.find("\nExec=\"/opt/Desk Panel/\\\\$bin/DeskPanel\" %f\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nMimeType=application/x-veltara-project;\n"), std::string::npos);

    // Registered at every start: the same texts leave both files as they are (no new
    // file takes their place), and only a changed text is written.
    const auto fileIdentity = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const std::string mimePath = data + "/mime/packages/deskpanel-vpf.xml";
    const std::string desktopPath = data + "/applications/deskpanel.desktop";
    const ino_t mimeBefore = fileIdentity(mimePath);
    const ino_t desktopBefore = fileIdentity(desktopPath);
    const FileAssociation::Outcome again =
        FileAssociation::registerAssociation(data, "/opt/Desk Panel/$bin/DeskPanel", "");
    EXPECT_TRUE(again.complete);
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(fileIdentity(mimePath), mimeBefore);
    EXPECT_EQ(fileIdentity(desktopPath), desktopBefore);
    const FileAssociation::Outcome moved = FileAssociation::registerAssociation(data, "/usr/bin/DeskPanel", "");
    EXPECT_TRUE(moved.complete);
    EXPECT_TRUE(moved.changed);
    EXPECT_EQ(fileIdentity(mimePath), mimeBefore);
    EXPECT_NE(fileIdentity(desktopPath), desktopBefore);
    EXPECT_NE(readText(data + "/applications/deskpanel.desktop").find("Exec=\"/usr/bin/DeskPanel\" %f"),
              std::string::npos);
}

TEST(FileAssociation, FailuresAreReportedToTheCallerOnly)
{
    TempFolder folder;
    writeText(folder.file("share"), "a file where the folder should be");
    EXPECT_FALSE(FileAssociation::registerAssociation(folder.file("share"), "/usr/bin/DeskPanel", "").complete);
    EXPECT_FALSE(FileAssociation::registerAssociation("", "/usr/bin/DeskPanel", "").complete);
}

TEST(FileAssociation, RegistryTextsFollowTheCommandLine)
{
    EXPECT_EQ(FileAssociation::className("C:\\Program Files\\Veltara RP8\\DeskPanel.exe"),
              "C:\\ProgramFiles\\VeltaraRP8\\DeskPanel.exe");
    // The open command keeps the program's path in quotes, else Windows tries
    // "C:\Program.exe" first.
    struct Case {
        std::string commandLine;
        std::string open;
        std::string icon;
    };
    const Case cases[] = {
        {"\"C:\\Program Files\\DeskPanel.exe\" \"D:\\shows\\a.vpf\"", "\"C:\\Program Files\\DeskPanel.exe\" \"%1\"",
         "C:\\Program Files\\DeskPanel.exe ,0"},
        {"\"C:\\Program Files\\DeskPanel.exe\"", "\"C:\\Program Files\\DeskPanel.exe\" \"%1\"",
         "C:\\Program Files\\DeskPanel.exe,0"},
        {"\"C:\\Users\\Jos\xC3\xA9\\AppData\\Local\\Programs\\Veltara\\RP-8\\DeskPanel.exe\"",
         "\"C:\\Users\\Jos\xC3\xA9\\AppData\\Local\\Programs\\Veltara\\RP-8\\DeskPanel.exe\" \"%1\"",
         "C:\\Users\\Jos\xC3\xA9\\AppData\\Local\\Programs\\Veltara\\RP-8\\DeskPanel.exe,0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileAssociation::openCommand(c.commandLine), c.open) << c.commandLine;
        EXPECT_EQ(FileAssociation::iconText(c.commandLine), c.icon) << c.commandLine;
    }
}

TEST(SafetySettings, OffUntilTurnedOnAndKeptInTheirOwnSectionBesideTheWindowPosition)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    EXPECT_EQ(SafetySettings::read(profile), SafetySettings{});
    ASSERT_TRUE(writeProfileString(profile, "Settings", "WindowPos", "kept"));
    SafetySettings on;
    on.previewSceneRecall = true;
    on.confirm48VOn = true;
    ASSERT_TRUE(on.write(profile));
    EXPECT_EQ(SafetySettings::read(profile), on);
    EXPECT_EQ(readProfileString(profile, "Settings", "WindowPos"), "kept");
    ASSERT_TRUE(writeProfileString(profile, "Safety", "Confirm48VOn", "yes")); // not "1": off
    EXPECT_FALSE(SafetySettings::read(profile).confirm48VOn);
}
