// Feeds arbitrary text frames to the Stage Remote's message reader. Whatever it accepts
// must write to a frame that reads back to the same message.
#include "core/stage/StageMessage.h"

#include <string>
#include <string_view>

using namespace deskpanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto message = readStageMessage(text, error);
    if (message.has_value() == !error.empty())
        __builtin_trap();
    if (!message)
        return 0;
    const std::string written = writeStageMessage(*message);
    const auto again = readStageMessage(written, error);
    if (!again || *again != *message || writeStageMessage(*again) != written)
        __builtin_trap();
    return 0;
}
