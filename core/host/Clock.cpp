#include "core/host/Clock.h"

#include <chrono>

namespace deskpanel {

std::uint32_t SteadyClock::nowMs() const
{
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count();
    return static_cast<std::uint32_t>(ms);
}

} // namespace deskpanel
