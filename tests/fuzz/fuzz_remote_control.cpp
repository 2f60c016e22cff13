// Feeds arbitrary datagrams from changing senders, with passing time, to the whole remote
// control: reading, the address table, the dispatcher over a real channel control and
// scene operations, subscriptions and their paced feedback.
// Input: records of [sender byte][time byte][length byte][datagram]:
//   sender: bits 0-1 the host (127.0.0.1 and .2 allowed, .0 and .3 not), bits 2-7 the
//           port, bit 7 "Allow 48 V from remote";
//   time:   bits 0-6 the time that passes after the datagram, in 8 ms; bit 7 the 48 V
//           guard ("Confirm 48 V on");
//   length: the datagram's length in 4 bytes; 255 takes the rest of the input, up to a
//           whole UDP datagram.
// Sixteen '@' in a datagram stand for the last token the endpoint handed out, so inputs
// can subscribe.
//
// What must hold: a sender not allowed changes nothing and is sent nothing; 48 V goes on
// only with "Allow 48 V from remote" and never while the guard is on; no box is opened.
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/SceneOperations.h"
#include "core/remote/RemoteControl.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/RecordingUnitSender.h"
#include "tests/support/ScriptedNamingDialogs.h"
#include "tests/support/ScriptedOperator.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace deskpanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::FakeClock clock;
    test::FakeTimers timers(clock);
    test::ScriptedOperator op;
    test::ScriptedNamingDialogs naming;
    test::RecordingUnitSender units;
    units.present = {1, 2, 48};
    test::RecordingDatagramSender sender;
    Project project;
    struct Relay : SceneTracker {
        SceneTracker* target = nullptr;
        void markActiveSceneModified() override { target->markActiveSceneModified(); }
        void updateFollowedScene() override { target->updateFollowedScene(); }
    } relay;
    ChannelControl channels(project, units, timers, relay);
    SceneOperations scenes(project, channels, op, timers, naming, {});
    relay.target = &scenes;
    // Two scenes to recall, one with 48 V on.
    for (const char* name : {"One", "Two"}) {
        naming.answers.push_back(NameAndNotes{name, ""});
        scenes.storeNewScene();
        project.live[3].phantom48V = 1;
    }
    RemoteControl remote(project, channels, scenes, timers, clock, sender,
                         [](int unit) { return unit % 2 ? UnitState::ACTIVE : UnitState::OFFLINE; });
    remote.setAllowedHosts({0x7F000001u, 0x7F000002u});

    channels.setOperator(&op);
    const std::size_t shownBefore = op.shown.size();
    std::string token;
    std::size_t read = 0; // datagrams looked at for a token

    std::size_t at = 0;
    while (at + 3 <= size) {
        const std::uint8_t senderByte = data[at];
        const std::uint8_t timeByte = data[at + 1];
        const Ipv4Endpoint from{0x7F000000u | (senderByte & 3u), static_cast<std::uint16_t>(9000 + (senderByte >> 2))};
        const std::size_t rest = size - at - 3;
        const std::size_t length =
            data[at + 2] == 255 ? std::min<std::size_t>(rest, 65507) : std::min<std::size_t>(data[at + 2] * 4u, rest);
        std::vector<std::uint8_t> datagram(data + at + 3, data + at + 3 + length);
        at += 3 + length;
        const std::string placeholder(16, '@');
        if (!token.empty())
            for (auto found = std::search(datagram.begin(), datagram.end(), placeholder.begin(), placeholder.end());
                 found != datagram.end();
                 found = std::search(found + 16, datagram.end(), placeholder.begin(), placeholder.end()))
                std::copy(token.begin(), token.end(), found);

        const bool allowPhantom = senderByte & 0x80;
        const bool guard = timeByte & 0x80;
        remote.setAllowPhantom(allowPhantom);
        channels.setConfirmPhantomOn(guard);
        const std::vector<ChannelSettings> before(project.live.begin(), project.live.end());
        if (!remote.isAllowed(from.address)) {
            const std::size_t unitSends = units.sent.size();
            const std::size_t answers = sender.sent.size();
            const int activeScene = project.activeSceneIndex;
            const int undoable = channels.undoHistory().undoableCount();
            const auto subscribers = remote.subscribers();
            remote.datagramReceived(datagram.data(), datagram.size(), from);
            if (!std::equal(before.begin(), before.end(), project.live.begin()) || units.sent.size() != unitSends ||
                sender.sent.size() != answers || project.activeSceneIndex != activeScene ||
                channels.undoHistory().undoableCount() != undoable || remote.subscribers() != subscribers)
                __builtin_trap(); // a stranger changed something, or was answered
        } else {
            remote.datagramReceived(datagram.data(), datagram.size(), from);
        }
        timers.advance((timeByte & 0x7Fu) * 8u);
        for (std::size_t c = 0; c < before.size(); ++c)
            if (!before[c].phantom48V && project.live[c].phantom48V && (!allowPhantom || guard))
                __builtin_trap(); // 48 V went on that a remote may not switch on
        for (; read < sender.sent.size(); ++read) {
            const auto& bytes = sender.sent[read].bytes;
            for (const OscMessage& m : osc::decode(bytes.data(), bytes.size()).messages)
                if (m.address == "/deskpanel/subscribe/token" && m.arguments.size() == 1)
                    if (const auto* text = std::get_if<std::string>(&m.arguments[0]); text && text->size() == 16)
                        token = *text;
        }
    }
    timers.advance(5000);
    for (const auto& datagram : sender.sent)
        if (datagram.bytes.size() > osc::MaxFeedbackDatagram &&
            osc::decode(datagram.bytes.data(), datagram.bytes.size()).messages.size() != 1)
            __builtin_trap(); // only a single long answer may pass the feedback limit
    for (const ChannelSettings& s : project.live)
        if (s.gainPosition < 0 || s.gainPosition > MaxGainPosition)
            __builtin_trap();
    if (op.shown.size() != shownBefore)
        __builtin_trap(); // nothing a remote does may open a box at the desk
    return 0;
}
