// Feeds arbitrary datagrams to the OSC reader. Whatever it accepts must encode again to
// bytes that read back to the same messages, and must fit into feedback bundles.
#include "core/remote/OscCodec.h"

using namespace deskpanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const OscPacket packet = osc::decode(data, size);
    if (!packet.error.empty() && !packet.messages.empty())
        __builtin_trap();
    osc::BundleWriter writer(osc::MaxPacketBytes);
    for (const OscMessage& message : packet.messages) {
        const std::vector<std::uint8_t> encoded = osc::encodeMessage(message);
        const OscPacket again = osc::decode(encoded.data(), encoded.size());
        if (again.messages.size() != 1 || osc::encodeMessage(again.messages[0]) != encoded)
            __builtin_trap();
        if (!writer.add(encoded)) {
            writer.take();
            writer.add(encoded);
        }
    }
    const std::vector<std::uint8_t> bundle = writer.take();
    if (!bundle.empty() && osc::decode(bundle.data(), bundle.size()).error != "")
        __builtin_trap();
    return 0;
}
