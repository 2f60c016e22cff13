#include "core/stage/StagePairing.h"
#include "core/stage/Sha256.h"

#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

#include <deque>

namespace deskpanel::test {
namespace {

// Hands out prepared bytes first, then a counting pattern, so every draw is known.
struct ScriptedBytes {
    std::deque<std::uint8_t> queued;
    std::uint8_t next = 0;

    void queue(std::initializer_list<std::uint8_t> bytes) { queued.insert(queued.end(), bytes); }
    StagePairing::RandomBytes source()
    {
        return [this](std::uint8_t* out, std::size_t size) {
            for (std::size_t i = 0; i < size; ++i) {
                out[i] = queued.empty() ? next++ : queued.front();
                if (!queued.empty())
                    queued.pop_front();
            }
        };
    }
};

using Result = StagePairing::PairResult;

TEST(StagePairing, ARightCodePairsOneDeviceWithTheChosenPermission)
{
    FakeClock clock;
    ScriptedBytes random;
    StagePairing pairing(clock, random.source());
    EXPECT_FALSE(pairing.isOpen());
    EXPECT_EQ(pairing.code(), "");

    // 0x000003E8 is 1000: the leading zeros stay.
    random.queue({0x00, 0x00, 0x03, 0xE8});
    EXPECT_EQ(pairing.open(StagePermission::Control), "001000");
    EXPECT_TRUE(pairing.isOpen());
    EXPECT_EQ(pairing.code(), "001000");
    EXPECT_EQ(pairing.secondsLeft(), 120);

    std::string token = "untouched";
    StagePermission permission = StagePermission::View;
    EXPECT_EQ(pairing.pair("001000", "", token, permission), Result::BadName);
    EXPECT_EQ(pairing.pair("001000", "a,b", token, permission), Result::BadName);
    EXPECT_EQ(token, "untouched");
    EXPECT_TRUE(pairing.isOpen()) << "a bad name costs no try";

    random.queue({0x00, 0x01, 0xAB, 0xCD, 0xEF, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xFF, 0x7F, 0x80});
    EXPECT_EQ(pairing.pair("001000", "Stage left", token, permission), Result::Paired);
    EXPECT_EQ(token, "0001abcdef1032547698badcfeff7f80");
    EXPECT_EQ(permission, StagePermission::Control);
    EXPECT_EQ(StagePairing::tokenHash(token), Sha256::hex("0001abcdef1032547698badcfeff7f80"));

    // One device per code: the same code again finds nothing open.
    EXPECT_FALSE(pairing.isOpen());
    EXPECT_EQ(pairing.pair("001000", "Stage right", token, permission), Result::NoCode);
}

TEST(StagePairing, TheCodeExpiresAfterTwoMinutes)
{
    FakeClock clock;
    clock.set(0xFFFFFFFFu - 60000); // the millisecond clock wraps while the code is open
    ScriptedBytes random;
    StagePairing pairing(clock, random.source());
    const std::string code = pairing.open(StagePermission::Recall);
    clock.advance(1);
    EXPECT_EQ(pairing.secondsLeft(), 120);
    clock.advance(StagePairing::ValidMs - 2);
    EXPECT_TRUE(pairing.isOpen());
    EXPECT_EQ(pairing.secondsLeft(), 1);
    clock.advance(1);
    EXPECT_FALSE(pairing.isOpen());
    EXPECT_EQ(pairing.secondsLeft(), 0);
    EXPECT_EQ(pairing.code(), "");
    std::string token;
    StagePermission permission = StagePermission::View;
    EXPECT_EQ(pairing.pair(code, "Stage left", token, permission), Result::NoCode);
    EXPECT_EQ(token, "");
}

TEST(StagePairing, FiveWrongCodesVoidTheCode)
{
    FakeClock clock;
    ScriptedBytes random;
    StagePairing pairing(clock, random.source());
    random.queue({0x00, 0x01, 0xE2, 0x40}); // 123456
    ASSERT_EQ(pairing.open(StagePermission::View), "123456");
    std::string token;
    StagePermission permission = StagePermission::Recall;
    for (const char* wrong : {"123457", "12345", "1234567", "", "023456"})
        EXPECT_EQ(pairing.pair(wrong, "Stage left", token, permission), Result::WrongCode) << wrong;
    EXPECT_FALSE(pairing.isOpen());
    EXPECT_EQ(pairing.pair("123456", "Stage left", token, permission), Result::NoCode);

    // A new code replaces the old one and starts the count again.
    random.queue({0x00, 0x00, 0x00, 0x07});
    EXPECT_EQ(pairing.open(StagePermission::Recall), "000007");
    for (int i = 0; i < StagePairing::MaxWrongCodes - 1; ++i)
        EXPECT_EQ(pairing.pair("123456", "Stage left", token, permission), Result::WrongCode);
    EXPECT_EQ(pairing.pair("000007", "Stage left", token, permission), Result::Paired);
    EXPECT_EQ(permission, StagePermission::Recall);
}

TEST(StagePairing, CodesAreDrawnFairlyAndNeverHang)
{
    FakeClock clock;
    ScriptedBytes random;
    StagePairing pairing(clock, random.source());
    // 4294967295 lies in the last, partial run of a million and is drawn again.
    random.queue({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x2A});
    EXPECT_EQ(pairing.open(StagePermission::View), "000042");
    // A source stuck at its top still gives a code.
    StagePairing stuck(clock, [](std::uint8_t* out, std::size_t size) { std::fill(out, out + size, 0xFF); });
    EXPECT_EQ(stuck.open(StagePermission::View), "967295");
}

} // namespace
} // namespace deskpanel::test
