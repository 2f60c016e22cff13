#pragma once
#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <functional>

namespace uitest {

// The widget rendered as the screen would show it.
inline QImage render(QWidget& w)
{
    return w.grab().toImage();
}

inline bool isReddish(const QColor& c)
{
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

inline bool isDark(const QColor& c)
{
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
}

// Runs the event loop until `done` answers true (true) or `limitMs` have passed (false),
// so that datagrams arrive and timers fire meanwhile.
inline bool pumpUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Runs the event loop until `done` answers true and returns what `since` shows at that
// moment, or -1 when `limitMs` passed first. The moment is never seen before it happens,
// so a lower bound on it holds however slow the machine is.
inline qint64 elapsedWhen(const QElapsedTimer& since, const std::function<bool()>& done, int limitMs)
{
    return pumpUntil(done, limitMs) ? since.elapsed() : -1;
}

// Lets the event loop run for a while.
inline void pumpFor(int ms)
{
    pumpUntil([] { return false; }, ms);
}

} // namespace uitest
