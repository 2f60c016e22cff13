#pragma once
#include <QObject>

class QFocusEvent;
class QWidget;

namespace deskpanel {

// Which control the keyboard reached: a focus given by Tab, Backtab or a shortcut, or by a
// screen reader's grab-focus. The keys then belong to that control. A focus set by a
// click or by the program (the window opening) is the mouse user's, and the main window
// routes the keys as it always did. Coming back to the same control (the window
// activated again, a box closed) keeps what it was.
class KeyboardFocus : public QObject {
public:
    // Watches the application's focus changes; safe to call more than once.
    static void install();
    // The focused control, when the keyboard reached it; else null.
    static QWidget* current();
    // Whether the focus event that `widget` receives now came from the keyboard.
    static bool reachedByKeyboard(const QFocusEvent* event, const QWidget* widget);
    // Gives `widget` the focus as a screen reader's grab-focus does.
    static void focusByKeyboard(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace deskpanel
