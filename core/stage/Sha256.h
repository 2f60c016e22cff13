#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace deskpanel {

// SHA-256 (FIPS 180-4), for the hashes of the Stage Remote's device tokens.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();

    void update(const std::uint8_t* data, std::size_t size);
    void update(std::string_view text);
    // The digest of everything given; the object starts over.
    Digest finish();

    // The digest of `text` as 64 lower-case hexadecimal digits.
    static std::string hex(std::string_view text);

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_blockBytes = 0;
    std::uint64_t m_totalBytes = 0;
};

} // namespace deskpanel
