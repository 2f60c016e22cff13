// Feeds arbitrary datagrams from changing senders, with passing time, to the whole remote
// control: reading, the address table, the dispatcher over a real channel control and
// scene operations, subscriptions and their paced feedback.
// Input: records of [sender byte][time byte][length byte][length bytes of datagram].
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

    std::size_t at = 0;
    while (at + 3 <= size) {
        const Ipv4Endpoint from{0x7F000000u | (data[at] & 3u), static_cast<std::uint16_t>(9000 + (data[at] >> 2))};
        const std::uint32_t advanceMs = data[at + 1] * 8u;
        const std::size_t length = std::min<std::size_t>(data[at + 2] * 4u, size - at - 3);
        at += 3;
        remote.setAllowPhantom(data[at - 3] & 0x80);
        remote.datagramReceived(data + at, length, from);
        at += length;
        timers.advance(advanceMs);
    }
    timers.advance(5000);
    for (const auto& datagram : sender.sent)
        if (datagram.bytes.size() > osc::MaxFeedbackDatagram &&
            osc::decode(datagram.bytes.data(), datagram.bytes.size()).messages.size() != 1)
            __builtin_trap(); // only a single long answer may pass the feedback limit
    for (const ChannelSettings& s : project.live)
        if (s.gainPosition < 0 || s.gainPosition > MaxGainPosition)
            __builtin_trap();
    return 0;
}
