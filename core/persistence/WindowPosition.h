#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace deskpanel {

// The main window's placement, kept as "WindowPos" in section "Settings" of the
// program's profile.
struct WindowPosition {
    std::uint32_t flags = 0; // 2 when the window is maximised, else 0
    std::uint32_t showState = 0;
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int overviewShown = 0; // 1 overview, 0 underview
    int maximized = 0;

    bool operator==(const WindowPosition&) const = default;

    // "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d %d %d" (two blanks before the last two numbers).
    std::string text() const;
    // The value read back; nothing unless all 12 numbers are there and fit their types.
    static std::optional<WindowPosition> parse(const std::string& text);

    static std::optional<WindowPosition> read(const std::string& profile);
    static void write(const std::string& profile, const WindowPosition& position);
};

} // namespace deskpanel
