#pragma once
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteSocket.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace deskpanel::test {

// A second remote client that tells how long the window takes to answer: from its own
// loopback address and thread it pings the endpoint every 10 ms and keeps each wait.
class RemotePinger {
public:
    RemotePinger(std::uint32_t address, std::uint16_t endpointPort)
        : m_thread([this, address, endpointPort] { run(address, endpointPort); })
    {}
    ~RemotePinger() { stop(); }
    RemotePinger(const RemotePinger&) = delete;
    RemotePinger& operator=(const RemotePinger&) = delete;

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }
    // Every wait so far, in milliseconds, in the order the pings went.
    std::vector<double> waitsMs() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_waitsMs;
    }

private:
    void run(std::uint32_t address, std::uint16_t endpointPort)
    {
        RemoteSocket socket;
        std::string error;
        if (!socket.open(address, 0, error))
            return;
        const std::vector<std::uint8_t> ping = osc::encodeMessage({"/deskpanel/ping", {}});
        std::vector<std::uint8_t> data;
        Ipv4Endpoint from;
        while (m_running) {
            const auto sent = std::chrono::steady_clock::now();
            socket.send(ping.data(), ping.size(), Ipv4Endpoint{0x7F000001u, endpointPort});
            while (m_running && !socket.receive(data, from))
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            const std::chrono::duration<double, std::milli> waited = std::chrono::steady_clock::now() - sent;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_waitsMs.push_back(waited.count());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::atomic<bool> m_running{true};
    mutable std::mutex m_lock;
    std::vector<double> m_waitsMs;
    std::thread m_thread; // last: it starts once the rest is there
};

} // namespace deskpanel::test
