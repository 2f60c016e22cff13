#include "core/remote/OscCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace deskpanel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

OscPacket decodeBytes(const Bytes& bytes)
{
    return osc::decode(bytes.data(), bytes.size());
}

Bytes bundleOf(const std::vector<Bytes>& elements)
{
    osc::BundleWriter writer(osc::MaxPacketBytes);
    for (const Bytes& element : elements)
        writer.add(element);
    return writer.take();
}

TEST(OscCodec, EncodesMessagesAsOsc10Bytes)
{
    const Bytes gain = osc::encodeMessage({"/deskpanel/ch/1/gain", {40.5f}});
    EXPECT_EQ(gain, bytesOf(std::string("/deskpanel/ch/1/gain\0\0\0\0,f\0\0\x42\x22\0\0", 32)));
    const Bytes mixed = osc::encodeMessage({"/a", {std::int32_t{-2}, std::string("abcd")}});
    EXPECT_EQ(mixed, bytesOf(std::string("/a\0\0,is\0\xff\xff\xff\xfe"
                                         "abcd\0\0\0\0",
                                         20)));
    // No arguments still carries the lone comma.
    EXPECT_EQ(osc::encodeMessage({"/deskpanel/ping", {}}), bytesOf(std::string("/deskpanel/ping\0,\0\0\0", 20)));
}

TEST(OscCodec, MessagesAndNestedBundlesComeBackInOrder)
{
    const OscMessage first{"/deskpanel/ch/3/mute", {std::int32_t{1}}};
    const OscMessage second{"/deskpanel/scene/recall", {std::string("Act 2")}};
    const OscMessage third{"/deskpanel/ch/384/gain", {std::int32_t{40}, 12.25f, std::string()}};
    const Bytes packet =
        bundleOf({osc::encodeMessage(first), bundleOf({osc::encodeMessage(second)}), osc::encodeMessage(third)});
    const OscPacket decoded = decodeBytes(packet);
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.messages, (std::vector<OscMessage>{first, second, third}));
    // A message from before type tags: the address alone.
    EXPECT_EQ(decodeBytes(bytesOf(std::string("/deskpanel/ping\0", 16))).messages.size(), 1u);
}

// A bundle as another client writes it, byte by byte: the time tag "immediately", then
// each element's size and bytes; a 'T' switch and a 'd' gain.
TEST(OscCodec, ReadsABundleOfTwoMessagesFromItsLiteralBytes)
{
    const Bytes bundle = bytesOf(std::string("#bundle\0"
                                             "\0\0\0\0\0\0\0\x01"
                                             "\0\0\0\x1c"
                                             "/deskpanel/ch/2/mute\0\0\0\0"
                                             ",T\0\0"
                                             "\0\0\0\x24"
                                             "/deskpanel/ch/1/gain\0\0\0\0"
                                             ",d\0\0"
                                             "\x40\x45\0\0\0\0\0\0",
                                             88));
    const OscPacket packet = decodeBytes(bundle);
    EXPECT_EQ(packet.error, "");
    EXPECT_EQ(packet.messages,
              (std::vector<OscMessage>{{"/deskpanel/ch/2/mute", {true}}, {"/deskpanel/ch/1/gain", {42.0}}}));
    // The project's own writer makes the same framing.
    Bytes element = bytesOf(std::string("/deskpanel/ping\0,\0\0\0", 20));
    EXPECT_EQ(bundleOf({element, element}),
              bytesOf(std::string("#bundle\0\0\0\0\0\0\0\0\x01\0\0\0\x14/deskpanel/ping\0,\0\0\0"
                                  "\0\0\0\x14/deskpanel/ping\0,\0\0\0",
                                  64)));
}

TEST(OscCodec, RefusesEveryMalformedPacketWhole)
{
    const Bytes good = osc::encodeMessage({"/x", {std::int32_t{1}}});
    Bytes deep = good;
    for (int level = 0; level <= osc::MaxBundleDepth; ++level)
        deep = bundleOf({deep});
    Bytes badElementSize = bundleOf({good, good});
    badElementSize[16 + 3] = 200; // the first element claims more than the bundle holds
    const struct {
        const char* what;
        Bytes bytes;
        const char* error;
    } cases[] = {
        {"empty", {}, "empty packet"},
        {"odd size", bytesOf(std::string("/x\0", 3)), "packet size is not a multiple of four"},
        {"too large", Bytes(osc::MaxPacketBytes + 1, 0), "packet too large"},
        {"no slash", bytesOf(std::string("x\0\0\0,\0\0\0", 8)), "not an OSC message"},
        {"unterminated address", bytesOf("/abc"), "not an OSC message"},
        {"padding not zero", bytesOf(std::string("/a\0x,\0\0\0", 8)), "not an OSC message"},
        {"tags without comma", bytesOf(std::string("/a\0\0i\0\0\0", 8)), "type tags missing: /a"},
        {"argument missing", bytesOf(std::string("/a\0\0,i\0\0", 8)), "argument missing: /a"},
        {"string unterminated", bytesOf(std::string("/a\0\0,s\0\0abcd", 12)), "argument missing: /a"},
        {"trailing bytes", bytesOf(std::string("/a\0\0,\0\0\0\0\0\0\0", 12)), "bytes after the arguments: /a"},
        {"short bundle", bytesOf(std::string("#bundle\0\0\0\0\0", 12)), "bundle shorter than its header"},
        {"element size", badElementSize, "bundle element size does not fit"},
        {"too deep", deep, "bundles nested too deeply"},
    };
    for (const auto& c : cases) {
        const OscPacket decoded = decodeBytes(c.bytes);
        EXPECT_EQ(decoded.error, c.error) << c.what;
        EXPECT_TRUE(decoded.messages.empty()) << c.what;
    }
}

// What stock clients send: doubles and 64-bit integers, T, F, N and I without data, as
// literal bytes. A type that cannot be read marks its message alone.
TEST(OscCodec, ReadsTheTypesCommonClientsSendAndSkipsOnlyAnUnreadableMessage)
{
    const Bytes typed = bytesOf(std::string("/t\0\0,dhTFNI\0"
                                            "\x40\x44\x80\0\0\0\0\0"
                                            "\xff\xff\xff\xff\xff\xff\xff\xfe",
                                            28));
    const OscMessage expected{"/t", {41.0, std::int64_t{-2}, true, false, OscNoData{'N'}, OscNoData{'I'}}};
    EXPECT_EQ(decodeBytes(typed).messages, std::vector<OscMessage>{expected});
    EXPECT_EQ(osc::encodeMessage(expected), typed);

    const Bytes good = osc::encodeMessage({"/x", {std::int32_t{1}}});
    const OscPacket mixed = decodeBytes(bundleOf({bytesOf(std::string("/y\0\0,qi\0\0\0\0\0\0", 12)), good}));
    EXPECT_EQ(mixed.error, "");
    ASSERT_EQ(mixed.messages.size(), 2u);
    EXPECT_EQ(mixed.messages[0].unreadable, "unsupported argument type 'q'");
    EXPECT_EQ(mixed.messages[1], (OscMessage{"/x", {std::int32_t{1}}}));
}

TEST(OscCodec, BundleWriterKeepsEachDatagramWithinItsLimit)
{
    osc::BundleWriter writer;
    const Bytes message = osc::encodeMessage({"/deskpanel/ch/100/gain", {40.0f}}); // 32 bytes
    int added = 0;
    while (writer.add(message))
        ++added;
    // 16 header bytes, then 4 + 32 per element: 40 elements make 1,456 bytes.
    EXPECT_EQ(added, 40);
    const Bytes datagram = writer.take();
    EXPECT_EQ(datagram.size(), 1456u);
    EXPECT_EQ(decodeBytes(datagram).messages.size(), 40u);
    EXPECT_TRUE(writer.empty());
    EXPECT_FALSE(writer.add(Bytes(osc::MaxFeedbackDatagram, 0))) << "a message that never fits is refused";
}

} // namespace
} // namespace deskpanel
