#include "app/QtBackgroundWork.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <memory>

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
    // A QThread, not a bare thread: Qt's text layout (the PDF sheet) starts timers of
    // its own, which only a thread Qt started may hold.
    const std::unique_ptr<QThread> worker(QThread::create([this, &work, &done] {
        work();
        done = true;
        m_working = false;
    }));
    worker->start();
    serveEventsUntil([&done] { return done.load(); });
    worker->wait();
}

} // namespace deskpanel
