#include "core/records/EventLog.h"

#include "core/model/Text.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace deskpanel {

namespace {

// What the history shows at most: the file is at most 5 MiB, far fewer lines than this.
constexpr std::size_t HistoryLimit = 100000;

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

EventLog::EventLog(const Clock& clock, const WallClock& wall, std::unique_ptr<EventLogFile> file,
                   std::function<void(const std::string&)> reportFailure)
    : m_clock(clock), m_wall(wall), m_reportFailure(std::move(reportFailure)), m_file(std::move(file))
{
    if (!m_file) {
        m_historyRead = true;
        return;
    }
    m_writer = std::thread([this] { writerLoop(); });
}

EventLog::~EventLog()
{
    close();
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_writer.joinable())
        m_writer.join();
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

void EventLog::close()
{
    if (m_closed)
        return;
    keep(m_folder.closeAll(wallTimeText(m_wall.now())));
    m_closed = true;
    flush();
}

void EventLog::keep(std::vector<UnitEvent> events)
{
    if (events.empty())
        return;
    {
        std::lock_guard lock(m_mutex);
        for (UnitEvent& event : events) {
            if (m_file && !m_closed)
                m_queue.push_back(eventline::toLine(event));
            m_memory.push_back(std::move(event));
            if (m_memory.size() > MemoryLimit) {
                m_memory.pop_front();
                ++m_dropped;
            }
        }
    }
    m_wake.notify_one();
}

void EventLog::flush()
{
    std::unique_lock lock(m_mutex);
    if (!m_writer.joinable())
        return;
    m_idle.wait(lock, [this] { return (m_queue.empty() && !m_writing) || m_stop; });
}

void EventLog::writerLoop()
{
    // The file's earlier events, read before this run adds any.
    std::vector<UnitEvent> history = eventline::parseAll(readWhole(m_file->path()));
    if (history.size() > HistoryLimit)
        history.erase(history.begin(), history.end() - static_cast<std::ptrdiff_t>(HistoryLimit));
    {
        std::lock_guard lock(m_mutex);
        m_history = std::move(history);
        m_historyRead = true;
    }
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_queue.empty() || m_stop; });
        if (m_queue.empty() && m_stop)
            break;
        std::deque<std::string> lines;
        lines.swap(m_queue);
        m_writing = true;
        lock.unlock();
        bool failedNow = false;
        int errorNumber = 0;
        for (const std::string& line : lines) {
            if (!m_file->append(line)) {
                failedNow = true;
                errorNumber = m_file->errorNumber();
            }
        }
        lock.lock();
        m_writing = false;
        const bool firstFailure = failedNow && !m_failed;
        m_failed = m_failed || failedNow;
        if (firstFailure && m_reportFailure) {
            lock.unlock();
            m_reportFailure(format("The event log cannot be written to %s (%s). Events are kept in memory for "
                                   "this run.",
                                   m_file->path().c_str(), std::strerror(errorNumber)));
            lock.lock();
        }
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_idle.notify_all();
}

std::uint64_t EventLog::count() const
{
    std::lock_guard lock(m_mutex);
    return m_dropped + m_memory.size();
}

std::vector<UnitEvent> EventLog::eventsFrom(std::uint64_t first) const
{
    std::lock_guard lock(m_mutex);
    const std::uint64_t start = first > m_dropped ? first - m_dropped : 0;
    if (start >= m_memory.size())
        return {};
    return {m_memory.begin() + static_cast<std::ptrdiff_t>(start), m_memory.end()};
}

std::vector<UnitEvent> EventLog::history() const
{
    std::lock_guard lock(m_mutex);
    return m_history;
}

bool EventLog::historyRead() const
{
    std::lock_guard lock(m_mutex);
    return m_historyRead;
}

bool EventLog::writeFailed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

std::string EventLog::path() const
{
    return m_file ? m_file->path() : std::string();
}

} // namespace deskpanel
