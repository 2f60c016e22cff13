// The link group pop-up, the link matrix and the group members: what each shows, what
// a choice, a click or a drag sends, the hit tests at the matrix's edges and the keys.
#include "app/HelpOpener.h"
#include "ui/controls/ScrollBar.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/LinkGroupMembersDialog.h"
#include "ui/dialogs/LinkGroupPopup.h"
#include "ui/dialogs/LinkMatrixDialog.h"
#include "ui/dialogs/LinkMatrixView.h"

#include "tests/ui/DialogTestRig.h"

#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace deskpanel;

using namespace uitest;

namespace {

// The strips' pop-up on the real menu, answered by triggering one of its items.
class PopupStripDialogs : public ChannelStripDialogs {
public:
    int chooseLinkGroup(int, int checkedGroup) override
    {
        LinkGroupPopup popup(checkedGroup);
        return popup.choose(QPoint(100, 100));
    }
    bool editChannelTitle(int, const std::string&) override { return false; }
};

void chooseItem(const QString& text)
{
    whenModalOpens([text](QWidget* open) {
        auto* menu = qobject_cast<QMenu*>(open);
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == text) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        ADD_FAILURE() << "no item " << text.toStdString();
        menu->close();
    });
}

class RecordingHelp : public HelpOpener {
public:
    explicit RecordingHelp(const QString& folder) : HelpOpener(folder) {}
    QStringList opened;

protected:
    bool openLocalFile(const QString& path) override
    {
        opened << path;
        return true;
    }
};

struct MatrixRig : ModelRig {
    MatrixRig()
    {
        units.present = {1, 2, 48};
        dialog.show();
    }
    LinkMatrixView& matrix() { return *dialog.matrix(); }
    void press(int group, int channel)
    {
        QTest::mousePress(&matrix(), Qt::LeftButton, {}, matrix().cellCentre(group, channel));
    }
    void moveTo(int group, int channel)
    {
        QMouseEvent move(QEvent::MouseMove, matrix().cellCentre(group, channel),
                         matrix().mapToGlobal(matrix().cellCentre(group, channel)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&matrix(), &move);
    }
    void release(int group, int channel)
    {
        QTest::mouseRelease(&matrix(), Qt::LeftButton, {}, matrix().cellCentre(group, channel));
    }
    std::vector<Sent> linkSends() const
    {
        std::vector<Sent> link;
        for (const Sent& s : units.sent)
            if (s.name == "Link")
                link.push_back(s);
        return link;
    }
    // A help folder holding the link help document.
    QTemporaryDir helpFolder;
    bool documentWritten =
        QFile(helpFolder.filePath(QStringLiteral("Tessaly Link Help.pdf"))).open(QIODevice::WriteOnly);
    RecordingHelp help{helpFolder.path()};
    std::vector<int> titled;
    LinkMatrixDialog dialog{project, channels, scenes, op, help, [this](int c) { titled.push_back(c); }};
};

} // namespace

TEST(LinkGroupPopup, ItemsAndTheCheckOnThePresentGroup)
{
    struct Case {
        int group;
        QString checked;
    };
    for (const Case& c :
         {Case{0, QStringLiteral("None")}, Case{3, QStringLiteral(" 3")}, Case{10, QStringLiteral(" 10")}}) {
        LinkGroupPopup popup(c.group);
        QStringList texts, checked;
        for (QAction* action : popup.actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->isChecked())
                checked << action->text();
        }
        EXPECT_EQ(texts, (QStringList{"Link Group", "-", "None", " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9",
                                      " 10"}));
        EXPECT_EQ(checked, QStringList{c.checked});
    }
    LinkGroupPopup popup(0);
    EXPECT_EQ(LinkGroupPopup::choiceOf(popup.actions().at(0)), ChannelStripDialogs::NothingChosen);
    EXPECT_EQ(LinkGroupPopup::choiceOf(popup.actions().at(2)), ChannelStripDialogs::ChoseNone);
    EXPECT_EQ(LinkGroupPopup::choiceOf(popup.actions().at(12)), 10);
}

TEST(LinkGroupPopup, ChoosingAGroupJoinsAndChoosingItAgainLeaves)
{
    ModelRig rig;
    rig.units.present = {2};
    PopupStripDialogs popup;
    rig.channels.setStripDialogs(&popup);
    const int channel = channelIndex(2, 3);
    chooseItem(QStringLiteral(" 3"));
    rig.channels.switchChanged(int(SwitchKind::LinkGroupPopup), channel, 1);
    EXPECT_EQ(rig.project.live[channel].linkGroup, 3);
    EXPECT_EQ(rig.project.live[channel].linkButton, 1);
    EXPECT_NE(std::find(rig.units.sent.begin(), rig.units.sent.end(), Sent{"Link", 1, 2, 3}), rig.units.sent.end());
    rig.units.sent.clear();
    chooseItem(QStringLiteral(" 3"));
    rig.channels.switchChanged(int(SwitchKind::LinkGroupPopup), channel, 1);
    EXPECT_EQ(rig.project.live[channel].linkGroup, 0);
    EXPECT_EQ(rig.project.live[channel].linkButton, 0);
    ASSERT_FALSE(rig.units.sent.empty());
    EXPECT_EQ(rig.units.sent.back(), (Sent{"Link", 0, 2, 3}));
    // The heading does nothing, though the closing steps run.
    rig.units.sent.clear();
    const int marked = rig.scenes.marked;
    chooseItem(QStringLiteral("Link Group"));
    rig.channels.switchChanged(int(SwitchKind::LinkGroupPopup), channel, 1);
    EXPECT_TRUE(rig.units.sent.empty());
    EXPECT_EQ(rig.scenes.marked, marked + 1);
    rig.channels.setStripDialogs(nullptr);
}

TEST(LinkMatrix, AClickTogglesACellAndSendsLink)
{
    MatrixRig rig;
    rig.press(3, 5);
    rig.release(3, 5);
    EXPECT_EQ(rig.project.live[5].linkGroup, 3);
    EXPECT_TRUE(rig.channels.linkGroups().matrixShowsDot(3, 5));
    EXPECT_EQ(rig.linkSends(), (std::vector<Sent>{{"Link", 1, 1, 6}}));
    // A click in another row of the same input moves it there.
    rig.press(7, 5);
    rig.release(7, 5);
    EXPECT_EQ(rig.project.live[5].linkGroup, 7);
    EXPECT_FALSE(rig.channels.linkGroups().membership().isMember(5, 3));
    // The set cell clicked again: out of the group, link off.
    rig.units.sent.clear();
    rig.press(7, 5);
    rig.release(7, 5);
    EXPECT_EQ(rig.project.live[5].linkGroup, 0);
    EXPECT_EQ(rig.project.live[5].linkActive, 0);
    EXPECT_EQ(rig.linkSends(), (std::vector<Sent>{{"Link", 0, 1, 6}}));
}

TEST(LinkMatrix, DraggingTogglesEachCellEnteredOnceInOrder)
{
    MatrixRig rig;
    rig.press(2, 8);
    rig.moveTo(2, 9);
    rig.moveTo(2, 9); // still the same cell: counted once
    rig.moveTo(2, 10);
    rig.release(2, 10);
    EXPECT_EQ(rig.linkSends(), (std::vector<Sent>{{"Link", 1, 2, 1}, {"Link", 1, 2, 2}, {"Link", 1, 2, 3}}));
    for (int c : {8, 9, 10})
        EXPECT_EQ(rig.project.live[c].linkGroup, 2) << c;
    // While dragging is not allowed (after a dialog of the matrix, for 200 ms) only the
    // pressed cell toggles.
    rig.units.sent.clear();
    rig.matrix().setDragAllowed(false);
    rig.press(4, 0);
    rig.moveTo(4, 1);
    rig.release(4, 1);
    EXPECT_EQ(rig.linkSends(), (std::vector<Sent>{{"Link", 1, 1, 1}}));
}

// Where the cells are, from the dialog's layout at 96 dots per inch (6 x 13 pixels per 4 x 8
// dialog units): columns 22 pixels wide from x 136 units (204 pixels), rows 20 pixels high
// from y 60 + 13 x (g - 1) units, the scroll range 400 pixels short of the 384 columns.
TEST(LinkMatrix, ClicksFindTheCellsOfTheLayout)
{
    MatrixRig rig;
    LinkMatrixView& m = rig.matrix();
    ASSERT_EQ(std::lround(rig.dialog.screen()->logicalDotsPerInchY()), 96);
    EXPECT_EQ(m.scrollRange(), 384 * 22 - 400);
    m.setScrollPos(1 << 20);
    EXPECT_EQ(m.scrollPos(), 384 * 22 - 400);

    const auto rowTop = [](int group) { return int(std::lround((60 + 13 * (group - 1)) * 13 / 8.0)); };
    const int lastColumnLeft = 204 + 383 * 22 - (384 * 22 - 400); // 582 at the far right
    struct Case {
        const char* name;
        int scroll;
        QPoint at; // in the dialog
        int group; // 0: no cell
        int channel;
    };
    const Case cases[] = {
        {"top left pixel of the first cell", 0, {204, rowTop(1)}, 1, 0},
        {"bottom right pixel of channel 5, group 3", 0, {204 + 5 * 22 + 21, rowTop(3) + 19}, 3, 5},
        {"left of the matrix", 0, {203, rowTop(1) + 10}, 0, -1},
        {"above the first row", 0, {300, rowTop(1) - 1}, 0, -1},
        {"below the last row", 0, {300, rowTop(10) + 20}, 0, -1},
        {"scrolled by one column", 22, {204 + 10, rowTop(2) + 10}, 2, 1},
        {"the last cell, scrolled to the end", 384 * 22 - 400, {lastColumnLeft + 11, rowTop(10) + 10}, 10, 383},
        {"right of the last column", 384 * 22 - 400, {lastColumnLeft + 22 + 2, rowTop(10) + 10}, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.setScrollPos(c.scroll);
        std::vector<int> before;
        for (const ChannelSettings& settings : rig.project.live)
            before.push_back(settings.linkGroup);
        QTest::mouseClick(&m, Qt::LeftButton, {}, m.mapFrom(&rig.dialog, c.at));
        std::vector<std::pair<int, int>> joined; // (channel, group) of every change
        for (int channel = 0; channel < 384; ++channel)
            if (rig.project.live[channel].linkGroup != before[channel])
                joined.emplace_back(channel, rig.project.live[channel].linkGroup);
        if (c.group == 0) {
            EXPECT_TRUE(joined.empty());
        } else {
            EXPECT_EQ(joined, (std::vector<std::pair<int, int>>{{c.channel, c.group}}));
        }
    }
}

TEST(LinkMatrix, ScrollingByOneAndEightColumns)
{
    MatrixRig rig;
    ScrollBar* bar = rig.dialog.scrollBar();
    ASSERT_NE(bar, nullptr);
    const int column = rig.matrix().columnWidth();
    emit bar->scrolled(ScrollBar::LineRight, 0);
    EXPECT_EQ(rig.matrix().scrollPos(), column);
    emit bar->scrolled(ScrollBar::PageRight, 0);
    EXPECT_EQ(rig.matrix().scrollPos(), 9 * column);
    emit bar->scrolled(ScrollBar::PageLeft, 0);
    emit bar->scrolled(ScrollBar::LineLeft, 0);
    emit bar->scrolled(ScrollBar::LineLeft, 0);
    EXPECT_EQ(rig.matrix().scrollPos(), 0);
    emit bar->scrolled(ScrollBar::Right, 0);
    EXPECT_EQ(rig.matrix().scrollPos(), rig.matrix().scrollRange());
    EXPECT_EQ(bar->scrollPos(), rig.matrix().scrollRange());
}

TEST(LinkMatrix, RightClickOpensTheTitleDialogAndOkRefreshesTheFollowedScene)
{
    MatrixRig rig;
    QTest::mouseClick(&rig.matrix(), Qt::RightButton, {}, rig.matrix().cellCentre(6, 12));
    EXPECT_EQ(rig.titled, std::vector<int>{12});
    EXPECT_TRUE(rig.dialog.isVisible()) << "shown again after the title dialog";
    EXPECT_FALSE(rig.matrix().isDragAllowed());
    EXPECT_TRUE(pumpUntil([&] { return rig.matrix().isDragAllowed(); }, 2000));
    ASSERT_TRUE(rig.documentWritten);
    QTest::keyClicks(&rig.dialog, QStringLiteral("h"));
    QTest::keyClick(&rig.dialog, Qt::Key_H, Qt::AltModifier);
    ASSERT_EQ(rig.help.opened.size(), 2);
    EXPECT_TRUE(rig.help.opened.front().endsWith(QStringLiteral("/Tessaly Link Help.pdf")));
    QTest::keyClick(&rig.dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_EQ(rig.scenes.updated, 1);
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
}

TEST(LinkGroupMembersDialog, ListsMembersAndShowsATitleOnDoubleClick)
{
    ModelRig rig;
    rig.project.linkGroups[3].title = "Choir";
    rig.project.channels[40].name = "Alto";
    for (int c : {40, 7})
        rig.channels.linkGroups().joinLinkGroup(c, 4);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("QUICKREFERENCE"));
    ASSERT_TRUE(
        QFile(folder.filePath(QStringLiteral("QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM"))).open(QIODevice::WriteOnly));
    RecordingHelp help(folder.path());
    LinkGroupMembersDialog dialog(rig.project, rig.channels, rig.op, help, 4);
    dialog.show();
    QListWidget* list = dialog.list();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("008 Channel 8"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("041 Alto"));
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(rig.op.textsOf(ScriptedOperator::Kind::Message), std::vector<std::string>{"Channel 41 Title\n\nAlto"});
    list->setFocus();
    QTest::keyClicks(list, QStringLiteral("H"));
    ASSERT_EQ(help.opened.size(), 1);
    EXPECT_TRUE(help.opened.front().endsWith(QStringLiteral("QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM")));
    QTest::keyClicks(list, QStringLiteral("o"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(rig.channels.isDialogJustClosedRaised());
}

TEST(LinkMatrix, NamingAGroupFromTheMatrixKeepsTheMatrixOpenAndStoresWhatNextStored)
{
    ModelRig rig;
    RecordingHelp help{QStringLiteral("/nonexistent")};
    LinkMatrixDialog dialog(rig.project, rig.channels, rig.scenes, rig.op, help, {});
    bool matrixBackAfterNaming = false;
    whenModalOpens([&](QWidget*) {
        QTimer::singleShot(0, [&] {
            auto* name = qobject_cast<GlassDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->title(), QStringLiteral("Link Group Name"));
            QTest::keyClicks(name->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("Strings"));
            clickButton(*name, DialogControl::Next);
            clickButton(*name, ControlId::Cancel);
            QTimer::singleShot(0, [&] {
                matrixBackAfterNaming = QApplication::activeModalWidget() == &dialog && dialog.isVisible();
                QTest::keyClick(&dialog, Qt::Key_Return);
            });
        });
        // Row header of group 4: left part of its row.
        const QPoint at(dialog.units().x(40) - dialog.matrix()->x(),
                        dialog.units().y(60 + 13 * 3 + 6) - dialog.matrix()->y());
        QTest::mouseClick(dialog.matrix(), Qt::RightButton, {}, at);
    });
    EXPECT_EQ(dialog.exec(), DialogResult::Ok);
    EXPECT_TRUE(matrixBackAfterNaming);
    EXPECT_EQ(rig.project.linkGroups[3].title, "Strings");
    EXPECT_EQ(rig.scenes.updated, 1);
}

TEST(LinkMatrix, ItsDialogsFindItOffTheScreenAndEscapeLeavesTheFollowedSceneAlone)
{
    ModelRig rig;
    RecordingHelp help{QStringLiteral("/nonexistent")};
    QRect whileOpen;
    LinkMatrixDialog* matrixDialog = nullptr;
    LinkMatrixDialog dialog(rig.project, rig.channels, rig.scenes, rig.op, help,
                            [&](int) { whileOpen = matrixDialog->frameGeometry(); });
    matrixDialog = &dialog;
    dialog.show();
    dialog.move(40, 30);
    const QRect home = dialog.frameGeometry();
    const qreal opacity = dialog.windowOpacity();
    const QRect desktop = dialog.screen()->virtualGeometry();
    ASSERT_TRUE(desktop.intersects(home));
    struct Case {
        const char* what;
        std::function<void()> open;
    };
    // The members and group name dialogs are closed with Escape as soon as they are up.
    const auto whenUpNoteAndClose = [&] {
        whenModalOpens([&](QWidget* open) {
            whileOpen = dialog.frameGeometry();
            QTest::keyClick(open, Qt::Key_Escape);
        });
    };
    const Case cases[] = {
        {"members",
         [&] {
             whenUpNoteAndClose();
             emit dialog.matrix()->rowHeaderDoubleClicked(2);
         }},
        {"group name",
         [&] {
             whenUpNoteAndClose();
             emit dialog.matrix()->rowHeaderRightClicked(5);
         }},
        {"channel title",
         [&] { QTest::mouseClick(dialog.matrix(), Qt::RightButton, {}, dialog.matrix()->cellCentre(6, 12)); }},
    };
    for (const Case& c : cases) {
        whileOpen = QRect();
        c.open();
        ASSERT_FALSE(whileOpen.isNull()) << c.what;
        EXPECT_FALSE(whileOpen.intersects(desktop)) << c.what;
        EXPECT_EQ(dialog.frameGeometry(), home) << c.what;
        EXPECT_EQ(dialog.windowOpacity(), opacity) << c.what;
        EXPECT_TRUE(dialog.isVisible()) << c.what;
    }

    // Escape closes the matrix; what was changed stays live, and only OK writes it into
    // the followed scene.
    QTest::mouseClick(dialog.matrix(), Qt::LeftButton, {}, dialog.matrix()->cellCentre(3, 5));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), DialogResult::Cancel);
    EXPECT_EQ(rig.project.live[5].linkGroup, 3);
    EXPECT_EQ(rig.scenes.updated, 0);
}
