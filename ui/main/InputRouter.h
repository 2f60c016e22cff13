#pragma once
#include <QObject>

class QKeyEvent;
class QWidget;

namespace deskpanel {

class ChannelControl;
class MainCommands;
class SceneListPanel;
class StripScroller;

// The keys of the main window before they are dispatched. While a control that the
// keyboard reached (Tab, a shortcut, a screen reader) has the focus, the keys are its own:
// the scene list moves its selection (F2 renames, Ctrl+Up and Ctrl+Down move the scene),
// a focused fader steps its own channel, other arrows change nothing, and Escape first
// gives the focus back to the window. Otherwise, as for the mouse user: over the scene list: Ctrl+C,
// H, I, L, N, O, S, V, Y and Z run their commands directly, Enter and Escape are dropped, other
// accelerators do not fire. Elsewhere: arrows, Home and End scroll the Underview or
// change the current channel's gain; in the Overview they scroll only while the pointer
// is over its scroll bar; Escape closes the window. While the menu bar holds the
// keyboard it has every key. Every key press also ends the click-through guard of the
// strips.
class InputRouter : public QObject {
public:
    InputRouter(QWidget& window, SceneListPanel& list, StripScroller& strips, MainCommands& commands,
                ChannelControl& channels);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pointerOver(const QWidget* widget) const;
    bool overList(QKeyEvent* key, bool shortcutOverride);
    bool elsewhere(QKeyEvent* key);
    bool toFocused(QWidget* focused, QKeyEvent* key);

    QWidget& m_window;
    SceneListPanel& m_list;
    StripScroller& m_strips;
    MainCommands& m_commands;
    ChannelControl& m_channels;
};

} // namespace deskpanel
