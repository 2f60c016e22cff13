#include "ui/dialogs/LinkMatrixDialog.h"

#include "app/HelpOpener.h"
#include "core/model/ChannelControl.h"
#include "core/model/SceneTracker.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ScrollBar.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/LinkGroupMembersDialog.h"
#include "ui/dialogs/LinkGroupNameDialog.h"
#include "ui/dialogs/LinkMatrixView.h"

#include <QKeyEvent>
#include <QScreen>

namespace deskpanel {

LinkMatrixDialog::LinkMatrixDialog(Project& project, ChannelControl& channels, SceneTracker& scenes, Operator& op,
                                   HelpOpener& help, std::function<void(int)> editChannelTitle, QWidget* parent)
    : GlassDialog(DialogTemplates::linkMatrix(), QStringLiteral("Link Matrix"), parent),
      m_project(project),
      m_channels(channels),
      m_scenes(scenes),
      m_operator(op),
      m_help(help),
      m_editChannelTitle(std::move(editChannelTitle))
{
    using namespace DialogControl;
    m_matrix = new LinkMatrixView(project, channels, units(), this);
    m_matrix->setGeometry(QRect(QPoint(0, controlRect(ControlId::LeftCorner).bottom() + 1),
                                QPoint(width() - 1, controlRect(MatrixScrollBar).top() - 1)));
    m_matrix->setFont(font());
    m_scrollBar = ScrollBar::create(0, this, controlRect(MatrixScrollBar), MatrixScrollBar);
    if (m_scrollBar) {
        m_scrollBar->setScrollRange(0, m_matrix->scrollRange());
        m_scrollBar->setScrollPos(0);
        connect(m_scrollBar, &ScrollBar::scrolled, this, &LinkMatrixDialog::onScrolled);
    }
    createButton(ControlId::Ok, QStringLiteral("&OK"), ImageRegistry::key(162));
    createButton(Help, QStringLiteral("&Help"), ImageRegistry::key(162));
    connect(m_matrix, &LinkMatrixView::rowHeaderDoubleClicked, this, &LinkMatrixDialog::showMembers);
    connect(m_matrix, &LinkMatrixView::rowHeaderRightClicked, this, &LinkMatrixDialog::nameGroup);
    connect(m_matrix, &LinkMatrixView::cellRightClicked, this, [this](int channel) {
        if (m_editChannelTitle)
            runHidden([this, channel] { m_editChannelTitle(channel); });
    });
    m_dragGate.setSingleShot(true);
    connect(&m_dragGate, &QTimer::timeout, this, [this] { m_matrix->setDragAllowed(true); });
    m_channels.addListener(this);
}

LinkMatrixDialog::~LinkMatrixDialog()
{
    m_channels.removeListener(this);
}

void LinkMatrixDialog::refresh()
{
    m_matrix->update();
}

void LinkMatrixDialog::onScrolled(int code, int position)
{
    const int column = m_matrix->columnWidth();
    const auto next =
        ScrollBar::target(code, position, m_matrix->scrollPos(), column, PageColumns * column, m_matrix->scrollRange());
    if (!next)
        return;
    m_matrix->setScrollPos(*next);
    m_scrollBar->setScrollPos(m_matrix->scrollPos());
}

void LinkMatrixDialog::runHidden(const std::function<void()>& dialog)
{
    m_matrix->setDragAllowed(false);
    // Hiding a dialog would end its modal loop, and a see-through window still shows on a
    // desktop without a compositor, so the matrix waits off the screen meanwhile.
    const QPoint home = pos();
    move(offScreenPosition());
    dialog();
    move(home);
    m_dragGate.start(DragGateMs);
    refresh();
}

QPoint LinkMatrixDialog::offScreenPosition() const
{
    // Beyond the lower right corner of the whole desktop, every screen included.
    const QScreen* desktop = screen();
    const QRect all = desktop ? desktop->virtualGeometry() : QRect(0, 0, 0, 0);
    return all.bottomRight() + QPoint(100, 100);
}

void LinkMatrixDialog::showMembers(int group)
{
    runHidden([this, group] {
        LinkGroupMembersDialog members(m_project, m_channels, m_operator, m_help, group, parentWidget());
        members.exec();
    });
}

void LinkMatrixDialog::nameGroup(int group)
{
    // Prev and Next store titles even when the dialog ends with Cancel, so the headers
    // are drawn again however it closes.
    runHidden([this, group] {
        LinkGroupNameDialog name(m_project, m_channels, m_operator, group, parentWidget());
        name.exec();
    });
}

void LinkMatrixDialog::onCommand(int id)
{
    if (id == DialogControl::Help) {
        m_help.openDocument(QString::fromLatin1(HelpOpener::LinkHelp));
    } else if (id == ControlId::Ok) {
        m_scenes.updateFollowedScene();
        m_channels.raiseDialogJustClosed();
        done(DialogResult::Ok);
    }
}

void LinkMatrixDialog::reject()
{
    // The changes made are live already; only OK stores them into the followed scene.
    done(DialogResult::Cancel);
}

void LinkMatrixDialog::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::ShiftModifier) {
        if (typed.compare(QLatin1String("h"), Qt::CaseInsensitive) == 0) {
            onCommand(DialogControl::Help);
            return;
        }
        if (typed.compare(QLatin1String("o"), Qt::CaseInsensitive) == 0) {
            onCommand(ControlId::Ok);
            return;
        }
    }
    GlassDialog::keyPressEvent(event);
}

} // namespace deskpanel
