#include "core/unitlink/UnitPacket.h"
#include "tests/support/PacketBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace deskpanel;
using namespace deskpanel::test;

TEST(UnitPacketCodec, LevelWordsDecodeAsSignAndMagnitude)
{
    EXPECT_EQ(decodeLevel(0x0105), 5);
    EXPECT_EQ(decodeLevel(0x0005), -5);
    EXPECT_EQ(decodeLevel(0x0000), 0);
    EXPECT_EQ(decodeLevel(0x0100), 0);
    EXPECT_EQ(decodeLevel(0xFFFF), 255);
}

TEST(UnitPacketCodec, ReadsFieldsAndMacText)
{
    UnitPacketFields fields;
    fields.unitNumber = 17;
    fields.mac = {0x00, 0x1a, 0x2B, 0xc3, 0xD4, 0xe5};
    fields.mode = 0;
    fields.variant = 1;
    fields.levelWords[0] = 0x0105;
    fields.levelWords[7] = 0x0012;
    const UnitReport report = readPacket(unitPacket(fields));
    EXPECT_EQ(report.unitNumber, 17);
    EXPECT_EQ(macText(report.mac), "001A2BC3D4E5");
    EXPECT_EQ(report.modeByte, 0);
    EXPECT_EQ(report.variantByte, 1);
    EXPECT_EQ(report.levelsDb[0], 5);
    EXPECT_EQ(report.levelsDb[7], -18);
    const UnitHealth health = report.health();
    EXPECT_FLOAT_EQ(health.monitor48V, 48.0f);
    EXPECT_FLOAT_EQ(health.monitor24V, 24.0f);
    EXPECT_FLOAT_EQ(health.monitor3V3, 3.3f);
    EXPECT_FLOAT_EQ(health.temperature, 40.0f);
}

TEST(UnitPacketCodec, PollPacketByteByByte)
{
    const PacketBytes image = unitPacket({});
    const PacketBytes poll = buildPollPacket(image, 1, 500, 7, 0x01020304);

    PacketBytes expected = image;
    expected[4] = 3;
    expected[26] = 0x01;
    expected[27] = 0x02;
    expected[28] = 0x03;
    expected[29] = 0x04;
    expected[30] = 1;
    expected[31] = 0x01;
    expected[32] = 0xF4; // 500 big-endian
    expected[82] = 7;
    EXPECT_EQ(poll, expected);
}

TEST(UnitPacketCodec, ParameterEditsSetBit7AndTheSwitchBits)
{
    PacketBytes image = unitPacket({});
    applyParameter(image, "Gain", 35.9, 2);
    EXPECT_EQ(image[packet::blockOffset(2) + 4], 0xA3);
    applyParameter(image, "Mute", 1.0, 1);
    EXPECT_EQ(image[packet::blockOffset(1) + 5], 0x90);
    applyParameter(image, "Mute", 0.0, 1);
    EXPECT_EQ(image[packet::blockOffset(1) + 5], 0x80);
    applyParameter(image, "Link", 1, 8);
    applyParameter(image, "48v", 1, 8);
    applyParameter(image, "Pad", 1, 8);
    applyParameter(image, "Pol", 1, 8);
    EXPECT_EQ(image[packet::blockOffset(8) + 5], 0x8F);
    applyParameter(image, "Gain", 80, 8);
    EXPECT_EQ(image[packet::blockOffset(8) + 4], 0xD0);
}

TEST(UnitPacketCodec, BadParameterValuesAndInputsNeverEscapeTheBuffer)
{
    const PacketBytes original = unitPacket({});
    PacketBytes image = original;
    applyParameter(image, "Gain", 1e300, 1);
    applyParameter(image, "Gain", std::nan(""), 1);
    applyParameter(image, "Mute", 1, 0);
    applyParameter(image, "Mute", 1, 9);
    applyParameter(image, "Volume", 3, 1);
    for (std::size_t i = 0; i < PacketSize; ++i) {
        if (i != packet::blockOffset(1) + 4) {
            EXPECT_EQ(image[i], original[i]) << "byte " << i;
        }
    }
}

TEST(UnitPacketCodec, ParameterPacketZeroesLevelsAndKeepsImageFields)
{
    UnitPacketFields fields;
    fields.levelWords.fill(0x0120);
    PacketBytes image = unitPacket(fields);
    image[30] = 0x55;
    image[31] = 0x12;
    image[32] = 0x34;
    const PacketBytes parameter = buildParameterPacket(image, 1, 9);
    for (int input = 1; input <= 8; ++input)
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(parameter[packet::blockOffset(input) + i], 0);
    EXPECT_EQ(parameter[30], 0x55);
    EXPECT_EQ(parameter[31], 0x12);
    EXPECT_EQ(parameter[32], 0x34);
    EXPECT_EQ(parameter[4], 3);
    EXPECT_EQ(parameter[82], 1);
    EXPECT_EQ(readU32(parameter, 26), 9u);
    // The kept words come back as the unit sent them.
    EXPECT_EQ(parameter[14], 0xDE);
    EXPECT_EQ(parameter[17], 0xEF);
    EXPECT_EQ(parameter[96], 0x04);
}
