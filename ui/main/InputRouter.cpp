#include "ui/main/InputRouter.h"

#include "app/ProjectCommands.h"
#include "core/model/ChannelControl.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/KeyboardFocus.h"
#include "ui/controls/ScrollBar.h"
#include "ui/dialogs/DialogLauncher.h"
#include "ui/main/MainCommands.h"
#include "ui/main/SceneListPanel.h"
#include "ui/main/StripScroller.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace deskpanel {

InputRouter::InputRouter(QWidget& window, SceneListPanel& list, StripScroller& strips, MainCommands& commands,
                         ChannelControl& channels)
    : QObject(&window), m_window(window), m_list(list), m_strips(strips), m_commands(commands), m_channels(channels)
{}

bool InputRouter::pointerOver(const QWidget* widget) const
{
    if (!widget || !widget->isVisible())
        return false;
    return widget->rect().contains(widget->mapFromGlobal(QCursor::pos()));
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event)
{
    const bool shortcutOverride = event->type() == QEvent::ShortcutOverride;
    if (!shortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    // Only keys meant for the main window itself; a dialog over it has its own.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_window || QApplication::activeModalWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!shortcutOverride)
        m_channels.keyPressed();
    // After a tap of Alt, or a menu closed with Escape, the menu bar holds the keyboard:
    // its arrows walk the menus and Escape leaves it; none may reach a channel.
    if (qobject_cast<QMenuBar*>(QApplication::focusWidget()))
        return false;
    if (QWidget* focused = KeyboardFocus::current(); focused && focused->window() == &m_window)
        return shortcutOverride ? false : toFocused(focused, key);
    if (pointerOver(m_list.list()))
        return overList(key, shortcutOverride);
    return shortcutOverride ? false : elsewhere(key);
}

bool InputRouter::overList(QKeyEvent* key, bool shortcutOverride)
{
    const int k = key->key();
    if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape)
        return true;
    // Redo's second key, Ctrl+Shift+Z, works over the list like Ctrl+Z.
    const bool redoKey = key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && k == Qt::Key_Z;
    if (redoKey) {
        if (shortcutOverride)
            key->accept();
        else
            m_commands.redo();
        return true;
    }
    if (key->modifiers() != Qt::ControlModifier) {
        // The accelerator table is off over the list: the key goes to the list.
        if (shortcutOverride && (key->modifiers() & Qt::ControlModifier || k == Qt::Key_F1))
            key->accept();
        return false;
    }
    if (shortcutOverride) {
        key->accept(); // delivered as a key press, handled below
        return true;
    }
    ProjectCommands& project = m_commands.project();
    switch (k) {
    case Qt::Key_H: m_commands.userGuide(); return true;
    case Qt::Key_I: m_commands.dialogs().openIdentityCheck(); return true;
    case Qt::Key_L: m_commands.dialogs().openLinkMatrix(); return true;
    case Qt::Key_N: project.newProject(); return true;
    case Qt::Key_O: project.open(); return true;
    case Qt::Key_S: project.save(); return true;
    case Qt::Key_Z: m_commands.undo(); return true;
    case Qt::Key_Y: m_commands.redo(); return true;
    case Qt::Key_C: m_commands.copyChannelSettings(); return true;
    case Qt::Key_V: m_commands.pasteChannelSettings(); return true;
    default: return false;
    }
}

bool InputRouter::toFocused(QWidget* focused, QKeyEvent* key)
{
    const int k = key->key();
    if (k == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        // The window itself, with no control focused: the next Escape asks to exit.
        m_window.setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (focused == m_list.list())
        return m_list.keyboardKey(key);
    const bool upOrDown = k == Qt::Key_Up || k == Qt::Key_Down;
    if (auto* fader = qobject_cast<GainFader*>(focused); fader && upOrDown && key->modifiers() == Qt::NoModifier) {
        m_channels.setCurrentChannel(fader->channel());
        if (k == Qt::Key_Up)
            m_channels.keyUp();
        else
            m_channels.keyDown();
        return true;
    }
    // The focused control takes what it knows (Space, Enter, its own arrows); a key it
    // leaves goes up to the window, which acts on no channel for it.
    return false;
}

bool InputRouter::elsewhere(QKeyEvent* key)
{
    const int k = key->key();
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (k == Qt::Key_Escape) {
        m_window.close();
        return true;
    }
    if (!m_strips.overviewShown()) {
        switch (k) {
        case Qt::Key_Left: m_strips.scrollUnderview(ScrollBar::LineLeft); return true;
        case Qt::Key_Right: m_strips.scrollUnderview(ScrollBar::LineRight); return true;
        case Qt::Key_Home: m_strips.scrollUnderview(ScrollBar::Left); return true;
        case Qt::Key_End: m_strips.scrollUnderview(ScrollBar::Right); return true;
        case Qt::Key_Up: m_channels.keyUp(); return true;
        case Qt::Key_Down: m_channels.keyDown(); return true;
        default: return false;
        }
    }
    if (k == Qt::Key_Left || k == Qt::Key_Right)
        return true;
    if (pointerOver(m_strips.overviewBar())) {
        switch (k) {
        case Qt::Key_Up: m_strips.scrollOverview(ScrollBar::LineUp); return true;
        case Qt::Key_Down: m_strips.scrollOverview(ScrollBar::LineDown); return true;
        case Qt::Key_Home: m_strips.scrollOverview(ScrollBar::Top); return true;
        case Qt::Key_End: m_strips.scrollOverview(ScrollBar::Bottom); return true;
        case Qt::Key_PageUp: m_strips.scrollOverview(ScrollBar::PageUp); return true;
        case Qt::Key_PageDown: m_strips.scrollOverview(ScrollBar::PageDown); return true;
        default: return false;
        }
    }
    switch (k) {
    case Qt::Key_Up: m_channels.keyUp(); return true;
    case Qt::Key_Down: m_channels.keyDown(); return true;
    default: return false;
    }
}

} // namespace deskpanel
