#pragma once
#include <QObject>

namespace deskpanel {

// Swallows the next mouse event that reaches the application, then removes itself: the
// click that closed a dialog must not also act on the window under it.
class NextMouseEventDropper : public QObject {
    Q_OBJECT
public:
    // Starts watching; the dropper deletes itself after the one event.
    static void arm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NextMouseEventDropper() = default;
};

} // namespace deskpanel
