#pragma once
#include "core/remote/RemoteControl.h"
#include "tests/core/scenes/SceneFixture.h"
#include "tests/support/RecordingDatagramSender.h"

#include <string>
#include <vector>

namespace deskpanel::test {

// The remote control over real scene operations and channel control, unit 1 present,
// with every datagram it sends recorded and read back.
class RemoteFixture : public SceneFixture {
protected:
    static constexpr Ipv4Endpoint Client{0x7F000001u, 9100};

    // Sends one message from `from` and returns every message answered, bundles taken apart.
    std::vector<OscMessage> send(const OscMessage& message, const Ipv4Endpoint& from = Client)
    {
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(message);
        return sendBytes(bytes, from);
    }
    std::vector<OscMessage> sendBytes(const std::vector<std::uint8_t>& bytes, const Ipv4Endpoint& from = Client)
    {
        sender.sent.clear();
        remote.datagramReceived(bytes.data(), bytes.size(), from);
        return received();
    }
    // Every message sent since the last look, in order.
    std::vector<OscMessage> received()
    {
        std::vector<OscMessage> out;
        for (const auto& datagram : sender.sent) {
            const OscPacket packet = osc::decode(datagram.bytes.data(), datagram.bytes.size());
            EXPECT_EQ(packet.error, "");
            out.insert(out.end(), packet.messages.begin(), packet.messages.end());
        }
        sender.sent.clear();
        return out;
    }

    static OscMessage error(const std::string& text) { return {"/deskpanel/error", {text}}; }

    // Subscribes as a client that receives: asks, is answered a token, sends it back.
    // Returns what the second subscribe was answered.
    std::vector<OscMessage> subscribe(int seconds, const Ipv4Endpoint& from = Client)
    {
        const std::vector<OscMessage> token = send({"/deskpanel/subscribe", {std::int32_t{seconds}}}, from);
        if (token.size() != 1 || token[0].address != "/deskpanel/subscribe/token" || token[0].arguments.size() != 1) {
            ADD_FAILURE() << "no token";
            return token;
        }
        return send({"/deskpanel/subscribe", {std::int32_t{seconds}, token[0].arguments[0]}}, from);
    }

    RecordingDatagramSender sender;
    std::vector<UnitState> unitStates = std::vector<UnitState>(MaxUnits + 1, UnitState::INACTIVE);
    RemoteControl remote{project, channels, scenes, timers, clock, sender, [this](int unit) {
                             return unitStates[static_cast<std::size_t>(unit)];
                         }};
};

} // namespace deskpanel::test
