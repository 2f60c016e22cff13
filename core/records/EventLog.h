#pragma once
#include "core/host/Clock.h"
#include "core/host/WallClock.h"
#include "core/records/EventFolder.h"
#include "core/records/EventLogFile.h"
#include "core/records/UnitEvent.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace deskpanel {

// The unit event log. record() folds repeats and keeps every logged event in memory for
// the event window; a thread of its own appends them to the file, so a disk that blocks
// never holds up the caller. The first failed write is reported once (on the writer's
// thread, through `reportFailure`); logging then goes on in memory and the file is tried
// again with each later event.
//
// record(), tick() and close() belong to one thread (the UI thread); the readers may be
// called from any thread.
class EventLog {
public:
    // Events of this run kept in memory; older ones leave when it is full.
    static constexpr std::size_t MemoryLimit = 100000;

    // `file` may be null: the events are then kept in memory only. Events already in
    // the file are read as the history, on the writer's thread, before anything is
    // written.
    EventLog(const Clock& clock, const WallClock& wall, std::unique_ptr<EventLogFile> file,
             std::function<void(const std::string& message)> reportFailure = {});
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Logs an event stamped now (its `time` is set here).
    void record(UnitEvent event);
    // Writes the summaries of folds that have run out; call about once a second.
    void tick();
    // Writes every open fold's summary and waits until the writer has written all, but
    // no longer than `maxWaitMs` (a disk that hangs must not hold up the exit); later
    // events are kept in memory only. False when the writer did not finish in time: it
    // is then left to end on its own, and the object may still be destroyed at once.
    static constexpr int CloseWaitMs = 2000;
    bool close(int maxWaitMs = CloseWaitMs);
    // Returns when every event recorded so far has been handed to the file.
    void flush();

    // The number of events of this run logged so far (the ones that left memory count).
    std::uint64_t count() const;
    // Events of this run from number `first` on (oldest first), as many as memory holds.
    std::vector<UnitEvent> eventsFrom(std::uint64_t first) const;
    // The events the file held when the program started (oldest first); empty until
    // they have been read.
    std::vector<UnitEvent> history() const;
    bool historyRead() const;
    // True once a write has failed.
    bool writeFailed() const;
    std::string path() const;

private:
    // What the writer's thread uses: shared with it, so that a writer stuck in a write
    // can outlive the log without touching anything freed.
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable idle;
        std::deque<UnitEvent> memory;
        std::uint64_t dropped = 0; // events that left memory
        std::vector<UnitEvent> history;
        bool historyRead = false;
        std::deque<std::string> queue; // lines for the writer
        bool writing = false;
        bool stop = false;
        bool failed = false;
        std::function<void(const std::string&)> reportFailure;
        std::unique_ptr<EventLogFile> file;
    };
    void keep(std::vector<UnitEvent> events);
    static void writerLoop(const std::shared_ptr<Shared>& shared);

    const Clock& m_clock;
    const WallClock& m_wall;
    EventFolder m_folder;
    bool m_closed = false;
    bool m_hasFile = false;
    std::string m_path;
    std::shared_ptr<Shared> m_shared;
    std::thread m_writer;
};

} // namespace deskpanel
