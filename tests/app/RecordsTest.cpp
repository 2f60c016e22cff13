// The operator's records: the channel sheet from the command line, backups of saves and
// Open Backup, the event window.
#include "app/DeskPanelApp.h"
#include "app/ProjectCommands.h"
#include "app/QtBackgroundWork.h"
#include "app/SheetExport.h"
#include "core/persistence/RecentFileList.h"
#include "core/records/BackupKeeper.h"
#include "core/records/ChannelSheet.h"
#include "core/records/EventLog.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeWallClock.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"
#include "ui/controls/GlassDialog.h"
#include "ui/dialogs/ChangeListBox.h"
#include "ui/dialogs/EventLogWindow.h"
#include "ui/dialogs/EventTableModel.h"
#include "ui/main/RecordsCommands.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace deskpanel::test {
namespace {

// A project file built byte by byte as the format lays it out, without the writer: the
// header, a preferences record and one scene record.
std::vector<std::uint8_t> handBuiltProject()
{
    constexpr std::size_t Record = 222212;
    std::vector<std::uint8_t> bytes(10 + 108 + Record, 0);
    std::memcpy(bytes.data(), "CONVERTED", 9);
    std::uint8_t* r = bytes.data() + 118;
    const auto word = [](std::uint8_t* at, std::int32_t value) {
        for (int i = 0; i < 4; ++i)
            at[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    };
    const auto text = [](std::uint8_t* at, const char* value) { std::memcpy(at, value, std::strlen(value)); };
    word(r, 48);
    text(r + 4, "Act 1");
    for (int c = 0; c < 384; ++c) {
        word(r + 204 + 4 * c, 72); // 8 dB
        text(r + 40204 + 100 * c, ("Ch " + std::to_string(c + 1)).c_str());
        text(r + 32204 + 10 * c, "-");
    }
    for (int u = 0; u < 48; ++u)
        text(r + 200204 + 100 * u, ("Stage box " + std::to_string(u + 1)).c_str());
    word(r + 204 + 4 * 8, 30); // channel 9: 50 dB
    word(r + 13004 + 4 * 8, 1); // 48 V on
    word(r + 22604 + 4 * 8, 2); // link group 2
    text(r + 32204 + 10 * 8, "2");
    std::memset(r + 40204 + 100 * 8, 0, 100);
    text(r + 40204 + 100 * 8, "=Kick, in");
    std::memset(r + 40204, 0, 100);
    text(r + 40204, "Voc\xE9"); // Windows-1252
    std::memset(r + 200204 + 100, 0, 100);
    text(r + 200204 + 100, "Drums");
    text(r + 220204 + 100, "Toms");
    return bytes;
}

struct ProgramRun {
    int code = -1;
    QString errors;
};

// DeskPanel with its own homes and no display.
ProgramRun runDeskPanel(const TempFolder& home, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QString::fromLatin1(variable), QString::fromStdString(home.file(variable)));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DESKPANEL_PATH), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

std::vector<std::string> csvLines(const std::string& path)
{
    const std::string text = readText(path);
    std::vector<std::string> lines;
    if (text.rfind("\xEF\xBB\xBF", 0) != 0)
        return lines;
    for (std::size_t start = 3; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace

// The sheet without a window, from a file the program's writer never saw: the scene's
// settings or the Blank Scene's, the names converted, the formula guarded; wrong usage
// is 2, an unreadable project or an unwritable file 1; nothing of the operator's
// settings is written.
TEST(ExportSheetCommand, WritesTheSheetAndAnswersWithItsExitCode)
{
    TempFolder folder;
    TempFolder home;
    const std::string project = folder.file("Gala.vpf");
    writeBytes(project, handBuiltProject());
    const QString vpf = QString::fromStdString(project);

    const ProgramRun scene =
        runDeskPanel(home, {"--export-sheet", QString::fromStdString(folder.file("act1.csv")), "--scene", "001", vpf});
    ASSERT_EQ(scene.code, 0) << scene.errors.toStdString();
    auto lines = csvLines(folder.file("act1.csv"));
    ASSERT_EQ(lines.size(), 385u);
    EXPECT_EQ(lines[1], "1,Stage box 1,1,1,Voc\xC3\xA9,,8,off,off,off,off,,");
    EXPECT_EQ(lines[9], "2,Drums,1,9,\"'=Kick, in\",,50,off,off,on,off,2,Toms");

    const ProgramRun blank =
        runDeskPanel(home, {"--export-sheet", QString::fromStdString(folder.file("blank.CSV")), vpf});
    ASSERT_EQ(blank.code, 0) << blank.errors.toStdString();
    lines = csvLines(folder.file("blank.CSV"));
    ASSERT_EQ(lines.size(), 385u);
    EXPECT_EQ(lines[9], "2,Drums,1,9,\"'=Kick, in\",,8,off,off,off,off,,"); // names kept, settings the defaults

    const ProgramRun pdf = runDeskPanel(home, {"--export-sheet", QString::fromStdString(folder.file("act1.pdf")),
                                               "--scene", "Act 1", "--paper", "letter", vpf});
    ASSERT_EQ(pdf.code, 0) << pdf.errors.toStdString();
    const std::string pdfText = readText(folder.file("act1.pdf"));
    EXPECT_EQ(pdfText.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdfText.find("/MediaBox [0 0 612.0"), std::string::npos); // Letter, portrait

    struct Case {
        QStringList arguments;
        int code;
        const char* said;
    };
    const QString out = QString::fromStdString(folder.file("x.csv"));
    const Case cases[] = {
        {{"--export-sheet", out, QString::fromStdString(folder.file("missing.vpf"))}, 1, "Cannot open file"},
        {{"--export-sheet", out, "--scene", "Act 9", vpf}, 1, "no scene"},
        {{"--export-sheet", QString::fromStdString(folder.file("no/such/folder/x.csv")), vpf}, 1, "Cannot write file"},
        {{"--export-sheet", QString::fromStdString(folder.file("x.txt")), vpf}, 2, ".csv or .pdf"},
        {{"--scene", "1", vpf}, 2, "--export-sheet"},
        {{"--export-sheet", out, vpf, vpf}, 2, "one project file"},
        {{"--export-sheet", out, "--paper", "A3", vpf}, 2, "A4 or Letter"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = runDeskPanel(home, c.arguments);
        EXPECT_EQ(run.code, c.code) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromLatin1(c.said))) << run.errors.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.csv")));
    // No lock, no settings, no recent list, no log, no association: those homes stay unmade.
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        EXPECT_FALSE(std::filesystem::exists(home.file(variable))) << variable;
    EXPECT_FALSE(std::filesystem::exists(home.file("XDG_RUNTIME_DIR/PreventSecondInstance.lock")));
}

namespace {

class NoWindow : public CommandWindow {
public:
    void showProject() override {}
    void storePlacement() override {}
    void closeForGood() override {}
    void startDetachedLater(const std::string&, int) override {}
};

// The project commands of a program without a window, with their settings in a folder
// of their own.
class CommandsRig : public ::testing::Test {
protected:
    static ProfileLocations locationsIn(const TempFolder& folder)
    {
        ProfileLocations at;
        at.settingsFile = folder.file("settings.ini");
        return at;
    }

    TempFolder folder;
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    NoWindow window;
    ProfileLocations at = locationsIn(folder);
    ProjectCommands commands{app, dialogs, at, window};
};
using Backups = CommandsRig;
using ImportChannelNames = CommandsRig;

} // namespace

// Every save keeps the file it replaces; Open Backup opens one as an unnamed copy and
// leaves the last used directory and the recent list as they were.
TEST_F(Backups, SavesKeepTheReplacedFileAndABackupOpensAsAnUnnamedCopy)
{
    FakeWallClock wall;
    BackupKeeper keeper(folder.file("state/backups"), wall);
    commands.keepBackups(keeper);

    const std::string path = folder.file("Gala.vpf");
    dialogs.answers = {path};
    app.project().channels[0].name = "Version 1";
    commands.saveAs();
    commands.files().waitForWrite();
    app.project().channels[0].name = "Version 2";
    commands.save();
    commands.files().waitForWrite();
    const auto backups = keeper.list(path);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].size, 118u);
    const std::string settingsBefore = readText(at.settingsFile);
    const auto recentBefore = commands.recent().entries();

    Scene scene;
    scene.name = "Act 1";
    app.project().scenes.append(scene);
    commands.save(); // the second backup holds no scene, the file now has one
    commands.files().waitForWrite();
    op.answers = {Decision::No}; // "Save changes to current project before opening?"
    commands.openBackup([&] { return keeper.list(path).front().path; });
    EXPECT_EQ(app.project().projectName, "New Project");
    EXPECT_FALSE(app.project().hasFile);
    EXPECT_EQ(app.project().projectPath, "New Project.vpf"); // in the last used directory (none here)
    EXPECT_EQ(app.project().scenes.count(), 1); // the backup's, without the scene saved since
    EXPECT_EQ(readText(at.settingsFile), settingsBefore);
    EXPECT_EQ(commands.recent().entries(), recentBefore);
    EXPECT_TRUE(op.textsOf(ScriptedOperator::Kind::Message).empty());
}

// Ctrl+S while the first save's file is still being written waits for that write: each
// save keeps its own backup, so one still holds the file as it was before the first.
TEST_F(Backups, ASecondSaveDuringAWriteKeepsTheFileFromBeforeTheFirst)
{
    FakeWallClock wall;
    BackupKeeper keeper(folder.file("state/backups"), wall);
    commands.keepBackups(keeper);
    const std::string path = folder.file("Gala.vpf");
    const auto addScene = [this](const char* name) {
        Scene scene;
        scene.name = name;
        app.project().scenes.append(scene);
    };
    dialogs.answers = {path};
    commands.saveAs();
    commands.files().waitForWrite();
    const std::string beforeBoth = readText(path);

    // The first write stays in flight until the second save has been asked for.
    std::atomic<bool> asked{false};
    commands.files().addBeforeWriteHook([&asked](const std::string&) {
        for (int i = 0; i < 300 && !asked; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    QTimer::singleShot(0, [&] {
        addScene("Act 2");
        asked = true;
        commands.save();
    });
    addScene("Act 1");
    commands.save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !commands.isBusy() && keeper.list(path).size() == 2; }, 5000))
        << keeper.list(path).size();
    std::vector<std::string> kept;
    for (const auto& backup : keeper.list(path))
        kept.push_back(readText(backup.path));
    EXPECT_EQ(kept.back(), beforeBoth);
    EXPECT_NE(kept.front(), beforeBoth); // the file the first save wrote
    EXPECT_NE(readText(path).find("Act 2"), std::string::npos);
}

// Open Backup asks "Save changes?" before the list: the list then holds that save's
// backup, and the one chosen opens as an unnamed copy.
TEST_F(Backups, OpenBackupAsksBeforeTheListIsShown)
{
    FakeWallClock wall;
    BackupKeeper keeper(folder.file("state/backups"), wall);
    commands.keepBackups(keeper);
    RecordsCommands records{app, commands, dialogs, nullptr, &keeper, nullptr};
    const std::string path = folder.file("Gala.vpf");
    Scene scene;
    dialogs.answers = {path};
    commands.saveAs(); // no scene
    commands.files().waitForWrite();
    scene.name = "Act 1";
    app.project().scenes.append(scene);
    commands.save(); // kept: the file without a scene
    commands.files().waitForWrite();
    wall.advance(1000);
    scene.name = "Act 2";
    app.project().scenes.append(scene);

    std::size_t questionsBeforeList = 0;
    int rows = 0;
    QTimer answerList; // the save before the list runs its own loop first
    QObject::connect(&answerList, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<GlassDialog*>(QApplication::activeModalWidget());
        auto* list = dialog ? dialog->findChild<QListWidget*>(QStringLiteral("backups")) : nullptr;
        if (!list)
            return;
        answerList.stop();
        questionsBeforeList = op.textsOf(ScriptedOperator::Kind::Decide).size();
        rows = list->count();
        list->setCurrentRow(rows - 1); // the oldest
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    answerList.start(5);
    op.answers = {Decision::Yes}; // "Save changes to current project before opening?"
    records.openBackup();
    EXPECT_EQ(questionsBeforeList, 1u);
    EXPECT_EQ(rows, 2); // without a scene and, from the save just asked for, with one
    EXPECT_EQ(app.project().scenes.count(), 1); // the oldest: the Blank Scene alone
    EXPECT_FALSE(app.project().hasFile);
    EXPECT_EQ(keeper.list(path).size(), 2u);
}

// Files > "Import Channel Names...": the file chosen, the list shown in the change list box,
// Y applies it, and a file without the needed columns is refused with a message.
TEST_F(ImportChannelNames, TheChosenFileIsPreviewedAndAppliedOnY)
{
    RecordsCommands records{app, commands, dialogs, nullptr, nullptr, nullptr};
    const std::string sheet = folder.file("names.csv");
    const auto write = [&sheet](const char* text) { std::ofstream(sheet, std::ios::binary) << text; };
    write("\xEF\xBB\xBFUnit,Input,Channel Name\r\n1,1,'=Kick\r\n2,8,Bass DI\r\n");
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<ChangeListBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (int i = 0; i < box->lines()->count(); ++i)
            shown << box->lines()->item(i)->text();
        QTest::keyClick(box, Qt::Key_Y);
    });
    dialogs.answers = {sheet};
    records.importChannelNames();
    EXPECT_EQ(shown,
              (QStringList{"Channel 001: \"Channel 1\" to \"=Kick\"", "Channel 016: \"Channel 16\" to \"Bass DI\""}));
    EXPECT_EQ(app.project().channels[0].name, "=Kick");
    EXPECT_EQ(app.project().channels[15].name, "Bass DI");
    EXPECT_EQ(dialogs.requests.at(0).pattern, "*.csv");

    write("Name\n");
    dialogs.answers = {sheet};
    records.importChannelNames();
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::Message).size(), 1u);
}

// The event window: newest first, live, filtered by unit and kind; the export writes
// what the filters let through, in the order shown.
TEST(EventWindow, ShowsNewestFirstFiltersAndExports)
{
    FakeClock clock;
    FakeWallClock wall;
    EventLog log(clock, wall, nullptr);
    const auto record = [&](int unit, const char* from, const char* to) {
        UnitEvent event;
        event.unit = unit;
        event.oldState = from;
        event.newState = to;
        event.text = "note, with comma";
        wall.advance(1000);
        log.record(event);
    };
    record(7, "INACTIVE", "ACTIVE");
    record(8, "INACTIVE", "ACTIVE");
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    EventLogWindow window(log, dialogs, op);
    window.show();
    EXPECT_FALSE(window.isModal());
    auto* table = window.findChild<QTableView*>(QStringLiteral("events"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->index(0, 1).data().toString(), QStringLiteral("8"));

    record(7, "ACTIVE", "OFFLINE");
    // The window's own timer takes it in.
    EXPECT_TRUE(QTest::qWaitFor([&] { return table->model()->rowCount() == 3; }, 5000));
    EXPECT_EQ(table->model()->index(0, 5).data().toString(), QStringLiteral("OFFLINE"));

    window.setUnitFilter(7);
    EXPECT_EQ(table->model()->rowCount(), 2);
    window.setKindFilter(QStringLiteral("OFFLINE"));
    EXPECT_EQ(table->model()->rowCount(), 1);
    window.setKindFilter(QString());

    TempFolder folder;
    dialogs.answers = {folder.file("events.csv")};
    window.exportCsv();
    EXPECT_EQ(readText(folder.file("events.csv")),
              "\xEF\xBB\xBFTime,Unit,MAC,IP,Old State,New State,Text\r\n"
              "2026-12-07 22:00:03.000 +01:00,7,,,ACTIVE,OFFLINE,\"note, with comma\"\r\n"
              "2026-12-07 22:00:01.000 +01:00,7,,,INACTIVE,ACTIVE,\"note, with comma\"\r\n");
    dialogs.answers = {folder.file("no/folder/events.csv")};
    window.exportCsv();
    ASSERT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage).size(), 1u);
}

// The PDF sheet is laid out and written on a worker from the sheet as it was made: the
// UI thread serves its timers meanwhile; a file that cannot be written comes back with
// its reason.
TEST(SheetExportOnWorker, WritesThePdfWhileTheUiThreadServesItsTimers)
{
    TempFolder folder;
    Project project;
    const ChannelSheet sheet = ChannelSheetMaker::make(project, ChannelSheetMaker::Live, ChannelSheetMaker::allUnits());
    QtBackgroundWork work;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(1);
    std::string error;
    ASSERT_TRUE(SheetExport::writeOnWorker(work, sheet, folder.file("sheet.pdf"), QPageSize::A4, error)) << error;
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(readText(folder.file("sheet.pdf")).rfind("%PDF-", 0), 0u);
    EXPECT_FALSE(SheetExport::writeOnWorker(work, sheet, folder.file("no/folder/sheet.pdf"), QPageSize::A4, error));
    EXPECT_NE(error.find("Cannot write file"), std::string::npos) << error;
}

// The event window's rows: this run's above the file's, newest first, through one filter
// that holds for both and for events that arrive while it is set; a kind the filter
// does not know is compared as it is written.
TEST(EventWindow, FiltersRunAndHistoryAlikeAndTakesNewEventsUnderAFilter)
{
    const auto event = [](int unit, const char* kind) {
        UnitEvent e;
        e.unit = unit;
        e.newState = kind;
        return e;
    };
    EventTableModel model;
    model.setHistory({event(3, "ACTIVE"), event(4, "OFFLINE"), event(7, "WEIRD")});
    model.addRunEvents({event(3, "OFFLINE"), event(0, "")});
    const auto rows = [&model] {
        std::vector<std::string> out;
        for (int r = 0; r < model.rowCount(); ++r)
            out.push_back(std::to_string(model.eventAt(r).unit) + " " + eventKind(model.eventAt(r)));
        return out;
    };
    using Rows = std::vector<std::string>;
    EXPECT_EQ(rows(), (Rows{"0 PROGRAM", "3 OFFLINE", "7 WEIRD", "4 OFFLINE", "3 ACTIVE"}));
    model.setFilter(0, "OFFLINE");
    EXPECT_EQ(rows(), (Rows{"3 OFFLINE", "4 OFFLINE"}));
    model.addRunEvents({event(5, "OFFLINE"), event(6, "ACTIVE"), event(8, "OFFLINE")});
    EXPECT_EQ(rows(), (Rows{"8 OFFLINE", "5 OFFLINE", "3 OFFLINE", "4 OFFLINE"}));
    EXPECT_EQ(model.index(0, EventTableModel::UnitColumn).data().toString(), QStringLiteral("8"));
    model.setFilter(3, "");
    EXPECT_EQ(rows(), (Rows{"3 OFFLINE", "3 ACTIVE"}));
    model.setFilter(-1, "");
    EXPECT_EQ(rows(), (Rows{"0 PROGRAM"}));
    model.setFilter(0, "WEIRD");
    EXPECT_EQ(rows(), (Rows{"7 WEIRD"}));
    model.setHistory({});
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(model.totalCount(), 5);
}

} // namespace deskpanel::test
