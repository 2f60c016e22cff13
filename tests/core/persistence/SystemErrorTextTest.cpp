#include "core/persistence/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace deskpanel;

// The text goes inside a message line ("Cannot write file X (...)"): one line, no line
// break or full stop of its own, and something even for a number the system does not know.
TEST(SystemErrorText, IsOneLineOfTheSystemsOwnWords)
{
#ifdef _WIN32
    const int known[] = {5, 32, 33, 112}; // access denied, sharing and lock violation, disk full
#else
    const int known[] = {EACCES, ENOSPC, EROFS, EISDIR};
#endif
    for (const int error : known) {
        const std::string text = systemErrorText(error);
        ASSERT_FALSE(text.empty()) << error;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << error;
        EXPECT_NE(text.back(), '.') << error;
        EXPECT_NE(text, "error " + std::to_string(error)) << error;
    }
    EXPECT_FALSE(systemErrorText(0x7ffffff0).empty());
}
