#include "core/records/EventLog.h"

#include "core/model/Text.h"
#include "core/persistence/NativePath.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>

namespace deskpanel {

namespace {

// What the history shows at most: the file is at most 5 MiB, far fewer lines than this.
constexpr std::size_t HistoryLimit = 100000;

std::string readWhole(const std::string& path)
{
    std::ifstream in(nativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

EventLog::EventLog(const Clock& clock, const WallClock& wall, std::unique_ptr<EventLogFile> file,
                   std::function<void(const std::string&)> reportFailure)
    : m_clock(clock), m_wall(wall), m_shared(std::make_shared<Shared>())
{
    m_shared->reportFailure = std::move(reportFailure);
    if (!file) {
        m_shared->historyRead = true;
        return;
    }
    m_hasFile = true;
    m_path = file->path();
    m_shared->file = std::move(file);
    m_writer = std::thread([shared = m_shared] { writerLoop(shared); });
}

EventLog::~EventLog()
{
    const bool written = close();
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        // Whoever would be told is going away with this object.
        m_shared->reportFailure = nullptr;
    }
    m_shared->wake.notify_all();
    if (!m_writer.joinable())
        return;
    if (written)
        m_writer.join();
    else
        m_writer.detach(); // stuck in a write: it ends with the write, holding only what it shares
}

void EventLog::record(UnitEvent event)
{
    event.time = wallTimeText(m_wall.now());
    if (m_closed) {
        keep({std::move(event)});
        return;
    }
    keep(m_folder.offer(event, m_clock.nowMs()));
}

void EventLog::tick()
{
    // The wall-clock text costs a look at the time zone: taken only when a fold expires.
    if (!m_closed && m_folder.anyDue(m_clock.nowMs()))
        keep(m_folder.due(m_clock.nowMs(), wallTimeText(m_wall.now())));
}

bool EventLog::close(int maxWaitMs)
{
    // Only the first close waits: nothing is handed to the writer after it.
    int waitMs = 0;
    if (!m_closed) {
        keep(m_folder.closeAll(wallTimeText(m_wall.now())));
        m_closed = true;
        waitMs = maxWaitMs;
    }
    std::unique_lock lock(m_shared->mutex);
    if (!m_writer.joinable())
        return true;
    return m_shared->idle.wait_for(lock, std::chrono::milliseconds(waitMs), [this] {
        return (m_shared->queue.empty() && !m_shared->writing) || m_shared->stop;
    });
}

void EventLog::keep(std::vector<UnitEvent> events)
{
    if (events.empty())
        return;
    {
        std::lock_guard lock(m_shared->mutex);
        for (UnitEvent& event : events) {
            if (m_hasFile && !m_closed)
                m_shared->queue.push_back(eventline::toLine(event));
            m_shared->memory.push_back(std::move(event));
            if (m_shared->memory.size() > MemoryLimit) {
                m_shared->memory.pop_front();
                ++m_shared->dropped;
            }
        }
    }
    m_shared->wake.notify_one();
}

void EventLog::flush()
{
    std::unique_lock lock(m_shared->mutex);
    if (!m_writer.joinable())
        return;
    m_shared->idle.wait(lock, [this] { return (m_shared->queue.empty() && !m_shared->writing) || m_shared->stop; });
}

void EventLog::writerLoop(const std::shared_ptr<Shared>& shared)
{
    Shared& s = *shared;
    // The file's earlier events, read before this run adds any.
    std::vector<UnitEvent> history = eventline::parseAll(readWhole(s.file->path()));
    if (history.size() > HistoryLimit)
        history.erase(history.begin(), history.end() - static_cast<std::ptrdiff_t>(HistoryLimit));
    {
        std::lock_guard lock(s.mutex);
        s.history = std::move(history);
        s.historyRead = true;
    }
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&s] { return !s.queue.empty() || s.stop; });
        if (s.queue.empty() && s.stop)
            break;
        std::deque<std::string> lines;
        lines.swap(s.queue);
        s.writing = true;
        lock.unlock();
        bool failedNow = false;
        int errorNumber = 0;
        for (const std::string& line : lines) {
            if (!s.file->append(line)) {
                failedNow = true;
                errorNumber = s.file->errorNumber();
            }
        }
        lock.lock();
        s.writing = false;
        const bool firstFailure = failedNow && !s.failed;
        s.failed = s.failed || failedNow;
        if (firstFailure && s.reportFailure) {
            const auto report = s.reportFailure;
            lock.unlock();
            report(format("The event log cannot be written to %s (%s). Events are kept in memory for this run.",
                          s.file->path().c_str(), std::strerror(errorNumber)));
            lock.lock();
        }
        if (s.queue.empty())
            s.idle.notify_all();
    }
    s.idle.notify_all();
}

std::uint64_t EventLog::count() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->dropped + m_shared->memory.size();
}

std::vector<UnitEvent> EventLog::eventsFrom(std::uint64_t first) const
{
    std::lock_guard lock(m_shared->mutex);
    const std::uint64_t start = first > m_shared->dropped ? first - m_shared->dropped : 0;
    if (start >= m_shared->memory.size())
        return {};
    return {m_shared->memory.begin() + static_cast<std::ptrdiff_t>(start), m_shared->memory.end()};
}

std::vector<UnitEvent> EventLog::history() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->history;
}

bool EventLog::historyRead() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->historyRead;
}

bool EventLog::writeFailed() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->failed;
}

std::string EventLog::path() const
{
    return m_path;
}

} // namespace deskpanel
