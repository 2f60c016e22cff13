#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

// What a paired device may do: `View` sees everything and changes nothing, `Control`
// changes channels, `Recall` changes channels and recalls scenes.
enum class StagePermission {
    View,
    Control,
    Recall
};

// "view", "control", "recall": the words of the profile and of the page.
std::string_view permissionText(StagePermission permission);
// The permission a word names (case does not count, blanks around it neither).
std::optional<StagePermission> permissionFromText(std::string_view text);

// A paired device as the profile keeps it: never its token, only the token's hash.
struct StageDevice {
    std::string name;
    StagePermission permission = StagePermission::View;
    std::string tokenHash; // 64 lower-case hexadecimal digits

    bool operator==(const StageDevice&) const = default;
};

// The Stage Remote's settings, section "Stage Remote" of the program's profile
// (DeskPanel.INI): off, port 8480, this computer only, plain HTTP, no 48 V from pages.
// Each paired device is a key Device<n>=<name>,<permission>,<token hash>.
struct StageSettings {
    static constexpr const char* Section = "Stage Remote";
    static constexpr std::uint16_t DefaultPort = 8480;

    bool enabled = false;
    std::uint16_t port = DefaultPort;
    std::string listen = "loopback"; // "loopback", "all", or one IPv4 address
    std::string certificate; // PEM file; HTTPS when both it and `key` are set
    std::string key;
    bool allowPhantom = false;
    std::vector<StageDevice> devices;

    bool operator==(const StageSettings&) const = default;

    // A value that cannot be read keeps its default; a device line that cannot be read
    // is left out (the others are read, whatever their numbers), in the order of n.
    static StageSettings read(const std::string& profile);
    // Writes the devices as Device1, Device2, ... and removes the older Device keys; a
    // device whose name or hash would not read back is not written. False when the
    // profile could not be written; the file is then as it was.
    bool write(const std::string& profile) const;

    // The address to bind (host byte order): 127.0.0.1, 0 for all, or the one address;
    // nothing when `listen` is none of these.
    std::optional<std::uint32_t> listenAddress() const;
};

// Whether a device name can be kept: 1..32 characters of UTF-8 without ',' '=', line
// breaks or other control characters. Blanks at either end do not count; the name is
// kept without them. `why` says what is wrong, in words for the page.
bool validDeviceName(const std::string& name, std::string& why);

// Whether `hash` is 64 lower-case hexadecimal digits.
bool validTokenHash(const std::string& hash);

} // namespace deskpanel
