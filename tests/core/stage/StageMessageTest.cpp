#include "core/stage/StageMessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace deskpanel {
namespace {

using namespace std::string_literals;

std::string ofBytes(std::size_t size, char fill)
{
    return std::string(size, fill);
}

TEST(StageMessage, ReadsWhatPagesSend)
{
    const struct {
        std::string text;
        OscMessage expected;
    } cases[] = {
        {R"({"a":"/deskpanel/ch/5/gain/step","v":[3]})", {"/deskpanel/ch/5/gain/step", {std::int32_t{3}}}},
        {R"({"a":"/deskpanel/ping"})", {"/deskpanel/ping", {}}},
        {" {\r\n\t\"v\" : [ 1 , 64 ] ,\"a\":\"/deskpanel/meters/subscribe\" }\n",
         {"/deskpanel/meters/subscribe", {std::int32_t{1}, std::int32_t{64}}}},
        {R"({"a":"/x","v":[-0,-2147483648,2147483647,2147483648,1.5,-2.5E+2,1e2,true,false]})",
         {"/x",
          {std::int32_t{0}, std::int32_t{-2147483647 - 1}, std::int32_t{2147483647}, 2147483648.0f, 1.5f, -250.0f,
           100.0f, true, false}}},
        // Out of a float's range at the small end: zero, with its sign.
        {R"({"a":"/x","v":[1e-400,-0.00000000000000000000000000000000000000000000001]})", {"/x", {0.0f, -0.0f}}},
        {R"({"a":"/x","v":["K\u00e9ck \ud83c\udfa4 \"in\"\\\/\b\f\n\r\t", "Kéck"]})",
         {"/x",
          {"K\xc3\xa9"
           "ck \xf0\x9f\x8e\xa4 \"in\"\\/\b\f\n\r\t"s,
           "K\xc3\xa9"
           "ck"s}}},
        {R"({"\u0061":"/\u00e9"})", {"/\xc3\xa9", {}}},
        {"{\"a\":\"/" + ofBytes(255, 'x') + "\",\"v\":[\"" + ofBytes(1024, 'y') + "\"]}",
         {"/" + ofBytes(255, 'x'), {ofBytes(1024, 'y')}}},
    };
    for (const auto& c : cases) {
        std::string error = "left over";
        const auto message = readStageMessage(c.text, error);
        ASSERT_TRUE(message) << c.text << ": " << error;
        EXPECT_EQ(*message, c.expected) << c.text;
        EXPECT_EQ(error, "");
    }
    // -0 is an integer; only its float form keeps the sign.
    std::string error;
    EXPECT_TRUE(std::signbit(std::get<float>(readStageMessage(R"({"a":"/x","v":[-0.0]})", error)->arguments[0])));
}

TEST(StageMessage, RefusesAnythingElseWithItsReason)
{
    std::string manyArguments = R"({"a":"/x","v":[0)";
    for (int i = 1; i < 65; ++i)
        manyArguments += ",0";
    manyArguments += "]}";
    const std::string deep = std::string(60000, '[');
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "expected '{' at byte 0"},
        {"{}", "no address (key \"a\") at byte 2"},
        {R"({"a":"x"})", "an address that does not start with '/' at byte 9"},
        {R"({"a":5})", "an address that is not a string at byte 5"},
        {R"({"a":"/x","a":"/y"})", "the key \"a\" twice at byte 14"},
        {R"({"v":[],"a":"/x","v":[]})", "the key \"v\" twice at byte 21"},
        {R"({"a":"/x","b":1})", "an unknown key \"b\" at byte 10"},
        {"{\"a\":\"/x\",\"\\u0007\":1}", "an unknown key \"\\u0007\" at byte 10"},
        {R"({"a":"/x","v":3})", "arguments (key \"v\") that are not an array at byte 14"},
        {R"({"a":"/x","v":[null]})", "an argument that is not a number, a string, true or false at byte 15"},
        {R"({"a":"/x","v":[{"b":1}]})", "an argument that is not a number, a string, true or false at byte 15"},
        {R"({"a":"/x","v":[[1]]})", "an argument that is not a number, a string, true or false at byte 15"},
        {deep, "expected '{' at byte 0"},
        {R"({"a":"/x","v":[)" + deep, "an argument that is not a number, a string, true or false at byte 15"},
        {R"({"a":"/x","v":[NaN]})", "an argument that is not JSON at byte 15"},
        {R"({"a":"/x","v":[-Infinity]})", "a number without digits at byte 16"},
        {R"({"a":"/x","v":[+1]})", "an argument that is not JSON at byte 15"},
        {R"({"a":"/x","v":[01]})", "expected ',' or ']' at byte 16"},
        {R"({"a":"/x","v":[1.]})", "a number without digits after its '.' at byte 17"},
        {R"({"a":"/x","v":[1e]})", "a number without digits in its exponent at byte 17"},
        {R"({"a":"/x","v":[1e39]})", "a number too large for a 32-bit float at byte 15"},
        {R"({"a":"/x","v":[1,]})", "an argument that is not JSON at byte 17"},
        {R"({"a":"/x","v":[1 2]})", "expected ',' or ']' at byte 17"},
        {R"({"a":"/x",})", "expected a key in quotes at byte 10"},
        {R"({"a":"/x"} {})", "text after the message at byte 11"},
        {"{\"a\":\"/x\"}\0"s, "text after the message at byte 10"},
        {R"({"a":"/x)", "a string without its closing quote at byte 8"},
        {"{\"a\":\"/x\ty\"}", "a control character in a string at byte 8"},
        {R"({"a":"/x\q"})", "an unknown escape in a string at byte 9"},
        {R"({"a":"/x\u00G1"})", "a \\u escape without four hexadecimal digits at byte 12"},
        {R"({"a":"/x\ud83c"})", "a lone surrogate in a string at byte 14"},
        {R"({"a":"/x\ud83c\u0041"})", "a lone surrogate in a string at byte 20"},
        {R"({"a":"/x\udfa4"})", "a lone surrogate in a string at byte 14"},
        {R"({"a":"/x\u0000"})", "a NUL character in a string at byte 14"},
        {"{\"a\":\"/\xc3\"}", "text that is not UTF-8 at byte 7"},
        {"{\"a\":\"/\xc0\xaf\"}", "text that is not UTF-8 at byte 7"},
        {"{\"a\":\"/\xf4\x90\x80\x80\"}", "text that is not UTF-8 at byte 7"},
        {"{\"a\":\"/" + ofBytes(256, 'x') + "\"}", "an address longer than 256 bytes at byte 263"},
        {R"({"a":"/x","v":[")" + ofBytes(1025, 'y') + "\"]}", "a string longer than 1024 bytes at byte 1041"},
        {manyArguments, "more than 64 arguments at byte 143"},
        {"{\"a\":\"/x\",\"v\":[\"" + ofBytes(stage::MaxMessageBytes, 'y') + "\"]}",
         "a message larger than 64 KiB at byte 0"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(readStageMessage(c.text, error)) << c.text.substr(0, 80);
        EXPECT_EQ(error, c.error) << c.text.substr(0, 80);
    }
}

TEST(StageMessage, WritesWhatReadsBack)
{
    const float tenth = 0.1f;
    const OscMessage message{"/deskpanel/ch/12/name",
                             {std::int32_t{-7}, 1.0f, tenth, 3.0e38f, std::numeric_limits<float>::denorm_min(), true,
                              false, "Kick \"In\"\\\x01\x1f\x7f\xc3\xa9"s}};
    const std::string text = writeStageMessage(message);
    EXPECT_EQ(text, R"({"a":"/deskpanel/ch/12/name","v":[-7,1.0,0.1,3e+38,1e-45,true,false,"Kick \"In\"\\\u0001\u001f)"
                    "\x7f\xc3\xa9\"]}");
    std::string error;
    EXPECT_EQ(readStageMessage(text, error), message) << error;

    // What JSON cannot say is null; bytes that are not UTF-8 still give valid text.
    const OscMessage odd{"/x",
                         {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(), 2.5,
                          std::int64_t{1} << 40, OscNoData{'N'}, OscBlob{{1, 2}},
                          "a\xff"
                          "b\xe2\x82"s}};
    EXPECT_EQ(writeStageMessage(odd), "{\"a\":\"/x\",\"v\":[null,null,2.5,1099511627776,null,null,"
                                      "\"a\xef\xbf\xbd"
                                      "b\xef\xbf\xbd\xef\xbf\xbd\"]}");

    EXPECT_EQ(writeStageMeters(9, {-128, -20, 3}), R"({"a":"/deskpanel/meters","v":[9,[-128,-20,3]]})");
    EXPECT_EQ(writeStageMeters(1, {}), R"({"a":"/deskpanel/meters","v":[1,[]]})");
}

} // namespace
} // namespace deskpanel
