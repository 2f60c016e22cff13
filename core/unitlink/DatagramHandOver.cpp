#include "core/unitlink/DatagramHandOver.h"

namespace deskpanel {

DatagramHandOver::DatagramHandOver(PostToUiThread post, LinkTransport::Handler handler)
    : m_post(std::move(post)), m_shared(std::make_shared<Shared>())
{
    m_shared->handler = std::move(handler);
}

bool DatagramHandOver::deliver(std::vector<Datagram> batch)
{
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(m_shared->mutex);
        if (m_shared->cancelled)
            return false;
        ticket = ++m_shared->delivered;
    }
    // The queued call owns the batch and shares the state, so it stays safe to run even
    // after the transport is gone.
    m_post([shared = m_shared, batch = std::move(batch), ticket] {
        for (const Datagram& datagram : batch) {
            {
                // A handler may stop the link (at exit, say): the rest is then dropped.
                std::lock_guard lock(shared->mutex);
                if (shared->cancelled)
                    return;
            }
            // Only the UI thread cancels, so nothing can cancel between the check and the call.
            shared->handler(datagram);
        }
        std::lock_guard lock(shared->mutex);
        shared->done = ticket;
        shared->handled.notify_all();
    });
    std::unique_lock lock(m_shared->mutex);
    m_shared->handled.wait(lock, [&] { return m_shared->cancelled || m_shared->done >= ticket; });
    return !m_shared->cancelled;
}

void DatagramHandOver::cancel()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->cancelled = true;
    m_shared->handled.notify_all();
}

} // namespace deskpanel
