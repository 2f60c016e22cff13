#pragma once
#include "core/unitlink/LinkTransport.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace deskpanel {

// Hands each datagram from the receive thread to the UI thread and waits until the UI
// thread has handled it, so that while the handler shows a modal message no further
// datagram is taken in. Unlike a plain blocking cross-thread call, the wait can be
// cancelled: at stop the UI thread cancels, the receive thread wakes and ends, and a
// hand-over still queued on the UI side is ignored when it runs.
class DatagramHandOver {
public:
    // Runs a function on the UI thread, later (queued).
    using PostToUiThread = std::function<void(std::function<void()>)>;

    DatagramHandOver(PostToUiThread post, LinkTransport::Handler handler);

    // Receive thread: hands the datagram over by value and waits. Returns false when the
    // hand-over was cancelled.
    bool deliver(const Datagram& datagram);
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
