#include "core/stage/StageSettings.h"

#include "core/host/Ipv4Endpoint.h"
#include "core/model/Text.h"
#include "core/persistence/IniFile.h"
#include "core/persistence/PathText.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace deskpanel {
namespace {

constexpr std::size_t MaxDeviceNameChars = 32;
constexpr std::string_view DevicePrefix = "Device";

std::optional<bool> switchOf(const std::optional<std::string>& text)
{
    const auto number = profileNumber(text);
    if (!number || (*number != 0 && *number != 1))
        return std::nullopt;
    return *number == 1;
}

// n of a key "Device<n>" (n from 1), or nothing for any other key.
std::optional<long> deviceNumberOf(const std::string& key)
{
    if (key.size() <= DevicePrefix.size() ||
        !equalsIgnoringCase(key.substr(0, DevicePrefix.size()), std::string(DevicePrefix)))
        return std::nullopt;
    const auto number = profileNumber(key.substr(DevicePrefix.size()));
    if (!number || *number < 1)
        return std::nullopt;
    return number;
}

std::optional<StageDevice> deviceOf(const std::string& line)
{
    const std::size_t first = line.find(',');
    const std::size_t second = first == std::string::npos ? first : line.find(',', first + 1);
    if (second == std::string::npos || line.find(',', second + 1) != std::string::npos)
        return std::nullopt;
    StageDevice device;
    device.name = trimmed(line.substr(0, first));
    device.tokenHash = trimmed(line.substr(second + 1));
    const auto permission = permissionFromText(line.substr(first + 1, second - first - 1));
    std::string why;
    if (!permission || !validDeviceName(device.name, why) || !validTokenHash(device.tokenHash))
        return std::nullopt;
    device.permission = *permission;
    return device;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isListenForm(const std::string& listen)
{
    std::uint32_t address = 0;
    return listen == "loopback" || listen == "all" || parseIpv4(listen, address);
}

} // namespace

std::string_view permissionText(StagePermission permission)
{
    switch (permission) {
    case StagePermission::View: return "view";
    case StagePermission::Control: return "control";
    case StagePermission::Recall: return "recall";
    }
    return "view";
}

std::optional<StagePermission> permissionFromText(std::string_view text)
{
    const std::string word = trimmed(std::string(text));
    for (const StagePermission permission :
         {StagePermission::View, StagePermission::Control, StagePermission::Recall}) {
        if (equalsIgnoringCase(word, std::string(permissionText(permission))))
            return permission;
    }
    return std::nullopt;
}

StageSettings StageSettings::read(const std::string& profile)
{
    const IniFile file = IniFile::load(profile);
    StageSettings settings;
    if (const auto enabled = switchOf(file.value(Section, "Enabled")))
        settings.enabled = *enabled;
    if (const auto port = profileNumber(file.value(Section, "Port")); port && *port >= 1 && *port <= 65535)
        settings.port = static_cast<std::uint16_t>(*port);
    if (const auto listen = file.value(Section, "Listen"); listen && isListenForm(trimmed(*listen)))
        settings.listen = trimmed(*listen);
    settings.certificate = file.value(Section, "Certificate").value_or("");
    settings.key = file.value(Section, "Key").value_or("");
    if (const auto phantom = switchOf(file.value(Section, "Allow Phantom")))
        settings.allowPhantom = *phantom;

    std::vector<std::pair<long, StageDevice>> numbered;
    std::set<std::string> seen; // a key twice is one key, its first line
    for (const std::string& name : file.keys(Section)) {
        const auto number = deviceNumberOf(name);
        if (!number || !seen.insert(lowerCase(name)).second)
            continue;
        if (auto device = deviceOf(file.value(Section, name).value_or("")))
            numbered.emplace_back(*number, std::move(*device));
    }
    std::stable_sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, device] : numbered)
        settings.devices.push_back(std::move(device));
    return settings;
}

bool StageSettings::write(const std::string& profile) const
{
    IniFile file = IniFile::load(profile);
    file.setValue(Section, "Enabled", enabled ? "1" : "0");
    file.setValue(Section, "Port", std::to_string(port));
    file.setValue(Section, "Listen", listen);
    file.setValue(Section, "Certificate", certificate);
    file.setValue(Section, "Key", key);
    file.setValue(Section, "Allow Phantom", allowPhantom ? "1" : "0");
    for (const std::string& name : file.keys(Section)) {
        if (deviceNumberOf(name))
            file.removeKey(Section, name);
    }
    int number = 0;
    for (const StageDevice& device : devices) {
        std::string why;
        if (!validDeviceName(device.name, why) || !validTokenHash(device.tokenHash))
            continue;
        file.setValue(Section, std::string(DevicePrefix) + std::to_string(++number),
                      trimmed(device.name) + "," + std::string(permissionText(device.permission)) + "," +
                          device.tokenHash);
    }
    return file.save(profile);
}

std::optional<std::uint32_t> StageSettings::listenAddress() const
{
    if (listen == "loopback")
        return 0x7F000001u;
    if (listen == "all")
        return 0u;
    std::uint32_t address = 0;
    if (parseIpv4(listen, address))
        return address;
    return std::nullopt;
}

bool validDeviceName(const std::string& name, std::string& why)
{
    const std::string kept = trimmed(name);
    std::size_t characters = 0;
    for (std::size_t at = 0; at < kept.size(); ++characters) {
        const std::size_t length = utf8CharacterLength(std::string_view(kept).substr(at));
        if (length == 0) {
            why = "The device name is not readable text.";
            return false;
        }
        const unsigned char c = static_cast<unsigned char>(kept[at]);
        if (c == '\r' || c == '\n') {
            why = "A device name cannot hold a line break.";
            return false;
        }
        if (c < 0x20 || c == 0x7F) {
            why = "A device name cannot hold control characters.";
            return false;
        }
        if (c == ',' || c == '=') {
            why = "A device name cannot hold ',' or '='.";
            return false;
        }
        at += length;
    }
    if (characters == 0) {
        why = "Give the device a name.";
        return false;
    }
    if (characters > MaxDeviceNameChars) {
        why = "A device name has at most 32 characters.";
        return false;
    }
    why.clear();
    return true;
}

bool validTokenHash(const std::string& hash)
{
    return hash.size() == 64 && std::all_of(hash.begin(), hash.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

} // namespace deskpanel
