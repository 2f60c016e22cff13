#pragma once
#include "core/unitlink/LinkTransport.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace deskpanel {

// Hands datagrams from the receive thread to the UI thread, a batch of those that have
// arrived at a time, and waits until the UI thread has handled the batch, so that while
// the handler shows a modal message no further datagram is taken in. One posted call per
// batch rather than per datagram keeps a full rack's traffic from costing a wake-up of the
// UI thread for every packet. Unlike a plain blocking cross-thread call, the wait can be
// cancelled: at stop the UI thread cancels, the receive thread wakes and ends, and a
// hand-over still queued on the UI side is ignored when it runs.
class DatagramHandOver {
public:
    // Runs a function on the UI thread, later (queued).
    using PostToUiThread = std::function<void(std::function<void()>)>;

    DatagramHandOver(PostToUiThread post, LinkTransport::Handler handler);

    // The most datagrams handed over at once.
    static constexpr std::size_t MaxBatch = 64;

    // Receive thread: hands the batch over and waits until each of its datagrams was
    // handled, in order. Returns false when the hand-over was cancelled; datagrams of the
    // batch not yet handled then are never handled.
    bool deliver(std::vector<Datagram> batch);
    // UI thread: no handler call happens after this returns, and every waiting or later
    // deliver() returns false at once.
    void cancel();

private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable handled;
        bool cancelled = false;
        std::uint64_t delivered = 0;
        std::uint64_t done = 0;
        LinkTransport::Handler handler;
    };
    PostToUiThread m_post;
    std::shared_ptr<Shared> m_shared;
};

} // namespace deskpanel
