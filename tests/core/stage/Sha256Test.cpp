#include "core/stage/Sha256.h"

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(Sha256, StandardTestVectors)
{
    EXPECT_EQ(Sha256::hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256::hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256::hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // Fed in pieces across block boundaries, the digest is the same.
    const std::string text(200, 'x');
    Sha256 pieces;
    for (std::size_t at = 0; at < text.size(); at += 7)
        pieces.update(std::string_view(text).substr(at, 7));
    Sha256 whole;
    whole.update(text);
    EXPECT_EQ(pieces.finish(), whole.finish());
}

} // namespace
} // namespace deskpanel
