// The naming dialogs: headings, Prev and Next with their limits, what is stored when,
// the 200-character edits, the keys and the dialog-just-closed flag.
#include "app/DeskPanelApp.h"
#include "app/HelpOpener.h"
#include "ui/controls/GlassButton.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/AppDialogs.h"
#include "ui/dialogs/ChannelNameDialog.h"
#include "ui/dialogs/LinkGroupNameDialog.h"
#include "ui/dialogs/SceneNameDialog.h"
#include "ui/dialogs/UnitNameDialog.h"
#include "ui/views/StripText.h"

#include "tests/ui/DialogTestRig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace deskpanel;

using namespace uitest;

namespace {

void type(QWidget& dialog, const QString& name, const QString& notes = {})
{
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
    edit->clear();
    QTest::keyClicks(edit, name);
    if (!notes.isNull()) {
        auto* notesEdit = dialog.findChild<QPlainTextEdit*>(QStringLiteral("notes"));
        notesEdit->clear();
        QTest::keyClicks(notesEdit, notes);
    }
}

// Each character as the keyboard would deliver it, also those QTest has no key for.
void typeEach(QWidget* edit, const QString& text)
{
    for (char32_t c : text.toStdU32String()) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdU32String(std::u32string(1, c)));
        QApplication::sendEvent(edit, &press);
    }
}

constexpr int Prev = DialogControl::Prev;
constexpr int Next = DialogControl::Next;

class UnitNameListener : public ChannelListener {
public:
    void unitNameChanged(int unit) override { units.push_back(unit); }
    std::vector<int> units;
};

} // namespace

TEST(ChannelNameDialog, NextStoresAndCancelDropsOnlyWhatIsOnScreen)
{
    ModelRig rig;
    RecordingChannelListener views;
    rig.channels.addListener(&views);
    ChannelNameDialog dialog(rig.project, rig.channels, rig.op, 4);
    dialog.show();
    EXPECT_EQ(dialog.heading(), QStringLiteral("Enter the desired title for Channel 5"));
    type(dialog, QStringLiteral("Kick"), QStringLiteral("inside"));
    clickButton(dialog, Next);
    EXPECT_EQ(rig.project.channels[4].name, "Kick");
    EXPECT_EQ(rig.project.channels[4].notes, "inside");
    EXPECT_TRUE(views.saw(4, ChannelAspect::Name));
    EXPECT_EQ(dialog.heading(), QStringLiteral("Enter the desired title for Channel 6"));
    EXPECT_EQ(rig.channels.currentChannel(), 5);
    type(dialog, QStringLiteral("Snare"));
    clickButton(dialog, ControlId::Cancel);
    EXPECT_EQ(dialog.result(), DialogResult::Cancel);
    EXPECT_EQ(rig.project.channels[5].name, "Channel 6");
    EXPECT_EQ(rig.channels.currentChannel(), 5) << "the walk leaves the current channel where it ended";
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
    rig.channels.removeListener(&views);
}

TEST(ChannelNameDialog, AtTheEndsPrevAndNextStoreBeepAndStayAndEnterIsOk)
{
    struct Case {
        int channel;
        int button;
    };
    for (const Case& c : {Case{0, Prev}, Case{383, Next}}) {
        ModelRig rig;
        rig.channels.setCurrentChannel(200);
        ChannelNameDialog dialog(rig.project, rig.channels, rig.op, c.channel);
        dialog.show();
        const QString heading = QStringLiteral("Enter the desired title for Channel %1").arg(c.channel + 1);
        EXPECT_EQ(dialog.heading(), heading);
        EXPECT_EQ(rig.channels.currentChannel(), c.channel);
        EXPECT_EQ(dialog.texts().name, "Channel " + std::to_string(c.channel + 1));
        type(dialog, QStringLiteral("End"));
        clickButton(dialog, c.button);
        EXPECT_EQ(rig.beeps(), 1) << c.channel;
        EXPECT_EQ(dialog.heading(), heading);
        EXPECT_EQ(rig.channels.currentChannel(), c.channel);
        EXPECT_EQ(rig.project.channels[c.channel].name, "End");
        // Enter is OK: the typed text is stored and the flag raised.
        type(dialog, QStringLiteral("Very end"));
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("name")), Qt::Key_Return);
        EXPECT_EQ(dialog.result(), DialogResult::Ok);
        EXPECT_EQ(rig.project.channels[c.channel].name, "Very end");
        EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
    }
}

TEST(UnitNameDialog, WalksTheUnitsAndTellsTheViews)
{
    ModelRig rig;
    UnitNameListener views;
    rig.channels.addListener(&views);
    UnitNameDialog dialog(rig.project, rig.channels, rig.op, 47);
    dialog.show();
    EXPECT_EQ(dialog.heading(), QStringLiteral("Enter the desired title for Unit 47"));
    type(dialog, QStringLiteral("Stage left"));
    clickButton(dialog, Next);
    clickButton(dialog, Next);
    EXPECT_EQ(rig.beeps(), 1);
    EXPECT_EQ(dialog.unit(), 48);
    EXPECT_EQ(rig.project.units[46].name, "Stage left");
    EXPECT_EQ(views.units, (std::vector<int>{47, 48}));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), DialogResult::Cancel);
    EXPECT_FALSE(rig.channels.isDialogJustClosedRaised()) << "the unit dialog is not one that raises it";
    rig.channels.removeListener(&views);
}

TEST(NamingDialogs, EditsTakeTwoHundredCharactersAndTheCaretGoesHome)
{
    ModelRig rig;
    UnitNameDialog dialog(rig.project, rig.channels, rig.op, 1);
    dialog.show();
    type(dialog, QString(210, QLatin1Char('n')), QString(230, QLatin1Char('t')));
    EXPECT_EQ(dialog.texts().name.size(), 200u);
    EXPECT_EQ(dialog.texts().notes.size(), 200u);
    clickButton(dialog, ControlId::Ok);
    EXPECT_EQ(rig.project.units[0].name, std::string(200, 'n')) << "kept whole in memory";
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
    EXPECT_TRUE(pumpUntil([&] { return name->cursorPosition() == 0; }, 2000));
}

TEST(SceneNameDialog, HeadingsFocusAndEnterHandBackTheTexts)
{
    ModelRig rig;
    {
        SceneNameDialog dialog(SceneNameDialog::Kind::NewScene, {}, {"Act 2", "notes"}, rig.channels, rig.op);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        EXPECT_EQ(dialog.heading(), QStringLiteral("Enter a name for the new scene..."));
        EXPECT_EQ(dialog.texts().name, "Act 2");
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
        EXPECT_TRUE(pumpUntil([&] { return name->hasFocus(); }, 2000)) << "the name edit gets the focus";
        type(dialog, QStringLiteral("Act 3"), QStringLiteral("en"));
        // Ctrl+Enter starts a new line in the notes; Enter there is OK.
        auto* notes = dialog.findChild<QPlainTextEdit*>(QStringLiteral("notes"));
        QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(notes, QStringLiteral("core"));
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(notes, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), DialogResult::Ok);
        EXPECT_EQ(dialog.texts().name, "Act 3");
        EXPECT_EQ(dialog.texts().notes, "en\ncore");
        EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
    }
    SceneNameDialog dialog(SceneNameDialog::Kind::RenameScene, QStringLiteral("Enter a new name for the 'Act 2' scene"),
                           {"Act 2", ""}, rig.channels, rig.op);
    dialog.show();
    EXPECT_EQ(dialog.heading(), QStringLiteral("Enter a new name for the 'Act 2' scene"));
    EXPECT_EQ(dialog.findChild<GlassButton*>(QStringLiteral("button%1").arg(Prev)), nullptr);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), DialogResult::Cancel);
}

TEST(LinkGroupNameDialog, PrevAndNextStopAtTheEndsAndCancelKeepsWhatTheyStored)
{
    ModelRig rig;
    RecordingChannelListener views;
    rig.channels.addListener(&views);
    LinkGroupNameDialog dialog(rig.project, rig.channels, rig.op, 1);
    dialog.show();
    EXPECT_EQ(dialog.heading(), QStringLiteral("Enter the desired title for Link Group 1"));
    clickButton(dialog, Prev);
    EXPECT_EQ(rig.beeps(), 1);
    type(dialog, QStringLiteral("Drums"));
    clickButton(dialog, Next);
    EXPECT_EQ(dialog.group(), 2);
    for (int i = 0; i < 9; ++i)
        clickButton(dialog, Next);
    EXPECT_EQ(dialog.group(), 10);
    EXPECT_EQ(rig.beeps(), 2);
    type(dialog, QStringLiteral("unsaved"));
    clickButton(dialog, ControlId::Cancel);
    EXPECT_EQ(rig.project.linkGroups[0].title, "Drums");
    EXPECT_EQ(rig.project.linkGroups[9].title, "") << "Next on group 10 stored it, so it is empty, not 'unsaved'";
    EXPECT_FALSE(views.groupTexts.empty());
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
    rig.channels.removeListener(&views);
}

TEST(SceneNameDialog, TheScenesAskThroughTheProgramsDialogs)
{
    ScriptedOperator op;
    DeskPanelApp app(LinkPorts{0, 0}, op);
    HelpOpener help(QStringLiteral("/nonexistent"));
    AppDialogs dialogs(app, help, nullptr);
    whenModalOpens([](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name"));
        name->clear();
        QTest::keyClicks(name, QStringLiteral("Finale"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    const auto created = dialogs.askNewScene({"Scene 4", "kept notes"});
    ASSERT_TRUE(created.has_value());
    EXPECT_EQ(created->name, "Finale");
    EXPECT_EQ(created->notes, "kept notes");
    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(dialogs.askRenameScene("Enter a new name for the 'Finale' scene", {"Finale", ""}).has_value());
}

// The edits take only what a project file holds (printable Windows-1252; the notes also
// line breaks and tabs): anything else beeps and is dropped, the rest kept. A text that
// came from a file is left as it is.
TEST(NamingDialogs, EditsTakeOnlyWhatAProjectFileHolds)
{
    enum class Edit {
        Name,
        Notes
    };
    struct Case {
        const char* name;
        std::function<std::unique_ptr<NameNotesDialog>(ModelRig&)> open;
        Edit edit;
        bool paste; // else typed key by key
        QString input;
        std::string expected; // the whole text of the edit afterwards, UTF-8
        int beeps;
    };
    const auto channel = [](ModelRig& rig) {
        rig.project.channels[0].name.clear();
        return std::make_unique<ChannelNameDialog>(rig.project, rig.channels, rig.op, 0);
    };
    const auto unit = [](ModelRig& rig) {
        rig.project.units[0].name.clear();
        return std::make_unique<UnitNameDialog>(rig.project, rig.channels, rig.op, 1);
    };
    const auto scene = [](ModelRig& rig) {
        return std::make_unique<SceneNameDialog>(SceneNameDialog::Kind::NewScene, QString(), NameAndNotes{},
                                                 rig.channels, rig.op);
    };
    const auto group = [](ModelRig& rig) {
        return std::make_unique<LinkGroupNameDialog>(rig.project, rig.channels, rig.op, 1);
    };
    // Texts read from a file: a name with a line break, notes with an undefined byte.
    const auto fromFile = [](ModelRig& rig) {
        rig.project.channels[0].name = "Old\nname";
        rig.project.channels[0].notes = "a\u0081b";
        return std::make_unique<ChannelNameDialog>(rig.project, rig.channels, rig.op, 0);
    };
    const Case cases[] = {
        {"code page letters typed", channel, Edit::Name, false, QStringLiteral("Kick €é™"), "Kick €é™", 0},
        {"a letter outside the code page typed", unit, Edit::Name, false, QStringLiteral("Bass Ā DI"), "Bass  DI", 1},
        {"pasted undefined bytes and controls", unit, Edit::Name, true,
         QStringLiteral("a\u0081\u008D\u008F\u0090\u009D\u007F\u0007b"), "ab", 1},
        {"a pasted line break becomes a blank", scene, Edit::Name, true, QStringLiteral("Act\r\n1\nend"), "Act 1 end",
         0},
        {"a pasted tab and emoji in a name", group, Edit::Name, true, QStringLiteral("To\tm\U0001F600s"), "Toms", 1},
        {"notes take line breaks and tabs", scene, Edit::Notes, true, QStringLiteral("one\ntwo\tthree"),
         "one\ntwo\tthree", 0},
        {"notes drop what the code page lacks", channel, Edit::Notes, true, QStringLiteral("x\u0081y\u4E2Dz"), "xyz",
         1},
        {"a name from a file keeps its break", fromFile, Edit::Name, false, QStringLiteral("!"), "Old\nname!", 0},
        {"notes from a file keep their byte", fromFile, Edit::Notes, false, QStringLiteral("c"), "a\u0081bc", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelRig rig;
        const auto dialog = c.open(rig);
        dialog->show();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name"));
        auto* notes = dialog->findChild<QPlainTextEdit*>(QStringLiteral("notes"));
        QWidget* edit = c.edit == Edit::Name ? static_cast<QWidget*>(name) : notes;
        if (c.edit == Edit::Name)
            name->end(false);
        else
            notes->moveCursor(QTextCursor::End);
        if (c.paste) {
            QGuiApplication::clipboard()->setText(c.input);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            typeEach(edit, c.input);
        }
        const NameAndNotes texts = dialog->texts();
        EXPECT_EQ(c.edit == Edit::Name ? texts.name : texts.notes, c.expected);
        EXPECT_EQ(rig.beeps(), c.beeps);
    }
}

// Strip titles are drawn on one line whatever they hold: a line break draws as a blank.
TEST(NamingDialogs, StripTitlesAreDrawnOnOneLine)
{
    const QRect field(0, 0, 120, 16);
    const auto drawn = [&field](const std::function<void(QPainter&, const QString&)>& draw, const QString& text) {
        QImage image(field.size() + QSize(0, 40), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.translate(0, 20);
        draw(p, text);
        return image;
    };
    const std::pair<const char*, std::function<void(QPainter&, const QString&)>> painters[] = {
        {"channel name", [&field](QPainter& p, const QString& t) { StripText::drawChannelName(p, field, t); }},
        {"unit name", [&field](QPainter& p, const QString& t) { StripText::drawUnitName(p, field, t, 0, 100); }},
        {"centred label",
         [&field](QPainter& p, const QString& t) { StripText::drawCentred(p, field, t, StripText::FieldBlue); }},
    };
    for (const auto& [name, draw] : painters) {
        SCOPED_TRACE(name);
        EXPECT_EQ(drawn(draw, QStringLiteral("Kick\nin")), drawn(draw, QStringLiteral("Kick in")));
        EXPECT_EQ(drawn(draw, QStringLiteral("Kick\r\nin")), drawn(draw, QStringLiteral("Kick  in")));
    }
}
