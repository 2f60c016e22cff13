#include "core/model/Metering.h"
#include "tests/core/remote/RemoteFixture.h"

#include <map>

namespace deskpanel::test {
namespace {

class RemoteFeedback : public RemoteFixture {};

TEST_F(RemoteFeedback, ASubscriberGetsTheWholeStatePacedThenEveryChange)
{
    store("Act 1");
    unitStates[1] = UnitState::ACTIVE;
    EXPECT_EQ(subscribe(10), std::vector<OscMessage>{});
    // Bundles of at most 1,472 bytes, one every 20 ms, until the whole state is out.
    std::map<std::string, OscMessage> state;
    std::size_t datagrams = 0;
    for (int tick = 0; tick < 100; ++tick) {
        timers.advance(tick == 0 ? 0 : RemoteSubscriptions::PaceMs);
        EXPECT_LE(sender.sent.size(), 1u) << "one datagram per 20 ms";
        for (const auto& datagram : sender.sent)
            EXPECT_LE(datagram.bytes.size(), osc::MaxFeedbackDatagram);
        datagrams += sender.sent.size();
        for (const OscMessage& m : received())
            state[m.address] = m;
    }
    EXPECT_EQ(state.size(), std::size_t{MaxChannels * 5 + MaxUnits + 1});
    EXPECT_GT(datagrams, 40u);
    EXPECT_EQ(state["/deskpanel/ch/384/gain"], (OscMessage{"/deskpanel/ch/384/gain", {8.0f}}));
    EXPECT_EQ(state["/deskpanel/unit/1/state"], (OscMessage{"/deskpanel/unit/1/state", {std::string("ACTIVE")}}));
    EXPECT_EQ(state["/deskpanel/scene/active"],
              (OscMessage{"/deskpanel/scene/active", {std::string("Blank Scene"), std::int32_t{0}}}));
    EXPECT_FALSE(timers.isRunning(TimerId::RemoteFeedback));

    // A change by a second client, one by the operator and a unit's state reach the subscriber in one bundle.
    const Ipv4Endpoint second{0x7F000002u, 9200};
    send({"/deskpanel/ch/2/mute", {std::int32_t{1}}}, second);
    send({"/deskpanel/ch/2/mute", {std::int32_t{0}}}, second);
    send({"/deskpanel/ch/2/mute", {std::int32_t{1}}}, second);
    channels.singleGainMove(2, 40);
    unitStates[3] = UnitState::OFFLINE;
    remote.unitStateChanged(3);
    timers.advance(0);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].to, Client);
    const std::vector<OscMessage> changes = received();
    EXPECT_EQ(changes, (std::vector<OscMessage>{{"/deskpanel/ch/2/mute", {std::int32_t{1}}},
                                                {"/deskpanel/ch/2/pad", {std::int32_t{0}}},
                                                {"/deskpanel/ch/2/polarity", {std::int32_t{0}}},
                                                {"/deskpanel/ch/2/phantom", {std::int32_t{0}}},
                                                {"/deskpanel/ch/3/gain", {40.0f}},
                                                {"/deskpanel/unit/3/state", {std::string("OFFLINE")}}}));

    // A recall's two thousand values go out paced like the whole state.
    send({"/deskpanel/scene/recall", {std::int32_t{1}}}, second);
    timers.advance(RemoteSubscriptions::PaceMs - 1);
    EXPECT_TRUE(sender.sent.empty()) << "20 ms after the last bundle at the earliest";
    timers.advance(1);
    EXPECT_EQ(sender.sent.size(), 1u);
    timers.advance(RemoteSubscriptions::PaceMs);
    EXPECT_EQ(sender.sent.size(), 2u);
    timers.advance(2000);
    const std::vector<OscMessage> recalled = received();
    EXPECT_EQ(recalled.back(), (OscMessage{"/deskpanel/scene/active", {std::string("Act 1"), std::int32_t{1}}}));

    // The lease runs out, and the subscriber is told so; then nothing more.
    timers.advance(10000);
    EXPECT_TRUE(remote.subscribers().empty());
    const std::vector<OscMessage> ended = received();
    ASSERT_FALSE(ended.empty());
    EXPECT_EQ(ended.back(), (OscMessage{"/deskpanel/unsubscribed", {}}));
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 0, 1);
    timers.advance(100);
    EXPECT_TRUE(sender.sent.empty());
}

// A forged source address gets nothing but a token; a lease is never taken from
// another host; four leases per host, sixteen in all.
TEST_F(RemoteFeedback, LeasesStartOnlyWithTheTokenAndAreNeverTakenFromAnotherHost)
{
    const Ipv4Endpoint victim{0x7F000009u, 9000};
    const std::vector<OscMessage> first = send({"/deskpanel/subscribe", {std::int32_t{60}}}, victim);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(first[0].address, "/deskpanel/subscribe/token");
    const std::string token = std::get<std::string>(first[0].arguments[0]);
    EXPECT_EQ(token.size(), 16u);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    timers.advance(1000);
    EXPECT_TRUE(sender.sent.empty()) << "no whole-state burst to an address that never answered";
    EXPECT_EQ(send({"/deskpanel/subscribe", {std::int32_t{60}, std::string("0000000000000000")}}, victim),
              std::vector<OscMessage>{error("wrong or old token: /deskpanel/subscribe")});
    timers.advance(RemoteTokens::ValidMs);
    EXPECT_EQ(send({"/deskpanel/subscribe", {std::int32_t{60}, token}}, victim),
              std::vector<OscMessage>{error("wrong or old token: /deskpanel/subscribe")})
        << "a token lasts 30 s";

    for (std::uint16_t port = 1; port <= RemoteSubscriptions::MaxLeasesPerHost; ++port)
        EXPECT_EQ(subscribe(60, {0x7F000001u, port}), std::vector<OscMessage>{});
    EXPECT_EQ(subscribe(60, {0x7F000001u, 99}),
              std::vector<OscMessage>{error("4 subscriptions from this host already: /deskpanel/subscribe")});
    for (std::uint32_t host = 2; host <= 4; ++host)
        for (std::uint16_t port = 1; port <= RemoteSubscriptions::MaxLeasesPerHost; ++port)
            subscribe(60, {0x7F000000u + host, port});
    EXPECT_EQ(remote.subscribers().size(), std::size_t{RemoteSubscriptions::MaxSubscribers});
    EXPECT_EQ(subscribe(60, {0x7F000005u, 1}),
              std::vector<OscMessage>{error("the subscriber table is full: /deskpanel/subscribe")});
    // A subscriber renews without a token.
    EXPECT_EQ(send({"/deskpanel/subscribe", {std::int32_t{60}}}, {0x7F000001u, 1}), std::vector<OscMessage>{});

    EXPECT_EQ(send({"/deskpanel/unsubscribe", {}}, {0x7F000001u, 1}),
              (std::vector<OscMessage>{{"/deskpanel/unsubscribed", {}}}));
    remote.setAllowedHosts({0x7F000002u});
    EXPECT_EQ(remote.subscribers().size(), std::size_t{RemoteSubscriptions::MaxLeasesPerHost})
        << "hosts taken off the list lose their leases at once";
}

TEST_F(RemoteFeedback, OnlyAllowedSendersAreServedAndEachAtMost2000MessagesASecond)
{
    const OscMessage ping{"/deskpanel/ping", {}};
    const OscMessage pong{"/deskpanel/pong", {}};
    const Ipv4Endpoint lan{0xC0A80105u, 9000}; // 192.168.1.5
    EXPECT_EQ(send(ping, {0x7F0000FEu, 9000}), std::vector<OscMessage>{pong}) << "loopback by default";
    EXPECT_TRUE(send(ping, lan).empty());
    remote.setAllowedHosts({0xC0A80105u});
    EXPECT_EQ(send(ping, lan), std::vector<OscMessage>{pong});
    EXPECT_TRUE(send(ping, Client).empty()) << "loopback only when listed";
    EXPECT_TRUE(send({"/deskpanel/ch/1/mute", {std::int32_t{1}}}, {0xC0A80106u, 9000}).empty());
    EXPECT_EQ(project.live[0].mute, 0);
    EXPECT_EQ(remote.counts().droppedNotAllowed, 3u);

    // A bundle of 1,000 pings, three times within a second: the last thousand are dropped.
    osc::BundleWriter writer(osc::MaxPacketBytes);
    for (int i = 0; i < 1000; ++i)
        writer.add(osc::encodeMessage(ping));
    const std::vector<std::uint8_t> bundle = writer.take();
    std::size_t answered = 0;
    for (int burst = 0; burst < 3; ++burst) {
        answered += sendBytes(bundle, lan).size();
        timers.advance(300);
    }
    EXPECT_EQ(answered, 1999u) << "one ping answered before the bursts";
    EXPECT_EQ(remote.counts().droppedOverRate, 1001u);
    timers.advance(100); // a new second
    EXPECT_EQ(sendBytes(bundle, {lan.address, 9001}).size(), 1000u);
    EXPECT_EQ(sendBytes(bundle, {lan.address, 9002}).size(), 1000u);
    EXPECT_TRUE(sendBytes(bundle, {lan.address, 9003}).empty()) << "the rate is the host's, whatever its ports";

    // All hosts together: at most 5,000 a second.
    timers.advance(1000);
    std::vector<std::uint32_t> hosts;
    for (std::uint32_t h = 1; h <= 6; ++h)
        hosts.push_back(0xC0A80100u + h);
    remote.setAllowedHosts(hosts);
    answered = 0;
    for (std::uint32_t host : hosts)
        answered += sendBytes(bundle, {host, 9000}).size();
    EXPECT_EQ(answered, std::size_t{RemoteControl::MaxMessagesPerSecondInAll});
}

// Meter leases: one signed byte per channel, -128 where there is no reading, at the rate
// asked; the lease's end is told.
TEST_F(RemoteFeedback, MeterLeasesSendOneSignedBytePerChannelAtTheRateAsked)
{
    const std::map<int, int> levels{{2, -20}, {3, Metering::NoLevel}, {4, 0}, {5, 127}};
    remote.setMeterSource([&](int channel) {
        const auto found = levels.find(channel);
        return found == levels.end() ? Metering::NoLevel : found->second;
    });
    const OscBlob expected{{0xEC, 0x80, 0x00, 0x7F}};
    for (const int rateHz : {1, 5, 20}) {
        SCOPED_TRACE(rateHz);
        const Ipv4Endpoint client{0x7F000001u, static_cast<std::uint16_t>(9300 + rateHz)};
        const OscMessage ask{"/deskpanel/meters/subscribe",
                             {std::int32_t{2}, std::int32_t{3}, std::int32_t{4}, std::int32_t{rateHz}}};
        const std::vector<OscMessage> token = send(ask, client);
        ASSERT_EQ(token.size(), 1u);
        ASSERT_EQ(token[0].address, "/deskpanel/subscribe/token") << "meters take the same token";
        timers.advance(1000);
        EXPECT_TRUE(sender.sent.empty()) << "no meters before the token comes back";
        OscMessage confirmed = ask;
        confirmed.arguments.push_back(token[0].arguments[0]);
        EXPECT_EQ(send(confirmed, client), std::vector<OscMessage>{});

        std::vector<std::uint32_t> sentAt;
        std::vector<OscMessage> other;
        for (std::uint32_t ms = 0; ms < 2500; ms += 10) {
            timers.advance(10);
            for (const OscMessage& m : received()) {
                if (m.address == "/deskpanel/meters") {
                    EXPECT_EQ(m, (OscMessage{"/deskpanel/meters", {std::int32_t{3}, expected}}));
                    sentAt.push_back(ms);
                } else {
                    other.push_back(m);
                }
            }
        }
        EXPECT_EQ(sentAt.size(), static_cast<std::size_t>(2 * rateHz)) << "a 2 s lease";
        for (std::size_t i = 1; i < sentAt.size(); ++i)
            EXPECT_GE(sentAt[i] - sentAt[i - 1], 1000u / static_cast<std::uint32_t>(rateHz));
        EXPECT_EQ(other, (std::vector<OscMessage>{{"/deskpanel/unsubscribed", {}}}));
        EXPECT_FALSE(timers.isRunning(TimerId::RemoteMeters));
    }
}

// One-shot senders such as oscsend use a new source port for every message: the reply
// port set for their address takes every answer and the feedback to the listener.
TEST_F(RemoteFeedback, TheReplyPortTakesAnswersAndFeedbackAndNoSubscriberHearsItsOwnChange)
{
    units.reduced = true;
    std::uint16_t nextSourcePort = 40000;
    const auto oneShot = [&](const OscMessage& message) {
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(message);
        sender.sent.clear();
        remote.datagramReceived(bytes.data(), bytes.size(), {0x7F000001u, ++nextSourcePort});
        return sender.sent;
    };
    const Ipv4Endpoint listener{0x7F000001u, 9500};
    EXPECT_TRUE(oneShot({"/deskpanel/reply", {std::int32_t{9500}}}).empty());
    const auto pong = oneShot({"/deskpanel/ping", {}});
    ASSERT_EQ(pong.size(), 1u);
    EXPECT_EQ(pong[0].to, listener);

    // The token goes to the listener and is good from any source port of that address.
    const auto tokenSent = oneShot({"/deskpanel/subscribe", {std::int32_t{30}}});
    ASSERT_EQ(tokenSent.size(), 1u);
    EXPECT_EQ(tokenSent[0].to, listener);
    const OscMessage token = osc::decode(tokenSent[0].bytes.data(), tokenSent[0].bytes.size()).messages.at(0);
    oneShot({"/deskpanel/subscribe", {std::int32_t{30}, token.arguments.at(0)}});
    EXPECT_EQ(remote.subscribers(), std::vector<Ipv4Endpoint>{listener});
    timers.advance(2000); // the whole state
    received();

    // Its own change exactly as sent is not echoed; one the desk limited is answered and
    // one it rounded is fed back; another host's change reaches it.
    EXPECT_TRUE(oneShot({"/deskpanel/ch/5/gain", {30.0f}}).empty());
    const auto limited = oneShot({"/deskpanel/ch/6/gain", {75.0f}});
    ASSERT_EQ(limited.size(), 1u);
    EXPECT_EQ(limited[0].to, listener);
    EXPECT_EQ(received(), (std::vector<OscMessage>{{"/deskpanel/ch/6/gain", {69.0f}}}));
    EXPECT_TRUE(oneShot({"/deskpanel/ch/7/gain", {40.4f}}).empty()) << "rounded as a fader move is";
    send({"/deskpanel/ch/8/mute", {true}}, {0x7F000002u, 9600});
    timers.advance(100);
    std::vector<OscMessage> feedback;
    for (const auto& datagram : sender.sent) {
        EXPECT_EQ(datagram.to, listener);
        const OscPacket packet = osc::decode(datagram.bytes.data(), datagram.bytes.size());
        for (const OscMessage& m : packet.messages)
            if (m.address.find("/gain") != std::string::npos || m.address == "/deskpanel/ch/8/mute")
                feedback.push_back(m);
    }
    sender.sent.clear();
    EXPECT_EQ(feedback, (std::vector<OscMessage>{{"/deskpanel/ch/6/gain", {69.0f}},
                                                 {"/deskpanel/ch/7/gain", {40.0f}},
                                                 {"/deskpanel/ch/8/mute", {std::int32_t{1}}}}));

    // "i 0": back to each message's own source port.
    EXPECT_TRUE(oneShot({"/deskpanel/reply", {std::int32_t{0}}}).empty());
    const auto own = oneShot({"/deskpanel/ping", {}});
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].to, (Ipv4Endpoint{0x7F000001u, nextSourcePort}));
    EXPECT_EQ(remote.subscribers(), std::vector<Ipv4Endpoint>{listener}) << "a lease keeps its destination";
}

} // namespace
} // namespace deskpanel::test
