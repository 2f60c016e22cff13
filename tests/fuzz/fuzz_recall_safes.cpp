// Feeds arbitrary text to the recall safes reader (the file kept beside a project). Every
// input must decode without a crash; the damaged lines must be real line numbers in
// ascending order; and what was read must come back unchanged through the writer.
#include "core/persistence/RecallSafesFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace deskpanel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RecallSafesFile::Decoded decoded = RecallSafesFile::decode(text);

    int lines = 1;
    for (char c : text)
        lines += c == '\n';
    int previous = 0;
    for (int line : decoded.damagedLines) {
        check(line > previous && line <= lines);
        previous = line;
    }
    for (int c = 0; c < MaxChannels; ++c)
        check((decoded.safes.flags(c) & ~AllSafeFlags) == 0);

    const RecallSafesFile::Decoded again = RecallSafesFile::decode(RecallSafesFile::encode(decoded.safes));
    check(again.safes == decoded.safes);
    check(again.damagedLines.empty());
    return 0;
}
