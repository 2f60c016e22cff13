#include "app/QtBackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <thread>

namespace deskpanel {

namespace {
constexpr int PollMs = 2;

// Serves the UI thread's events until `done` holds.
template <typename Done>
void serveEventsUntil(Done done)
{
    while (!done()) {
        QEventLoop loop;
        QTimer::singleShot(PollMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool onUiThread()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

void QtBackgroundWork::waitUntilIdle()
{
    if (onUiThread())
        serveEventsUntil([this] { return !m_working; });
}

void QtBackgroundWork::run(const std::function<void()>& work)
{
    // Without an event loop to serve, the work runs right here.
    if (!onUiThread()) {
        work();
        return;
    }
    waitUntilIdle();
    m_working = true;
    std::atomic<bool> done{false};
    std::thread worker([this, &work, &done] {
        work();
        done = true;
        m_working = false;
    });
    serveEventsUntil([&done] { return done.load(); });
    worker.join();
}

} // namespace deskpanel
