#include "core/persistence/PasteSettingsProfile.h"

#include "core/persistence/IniFile.h"

#include <array>
#include <utility>

namespace deskpanel::PasteSettingsProfile {

namespace {
constexpr std::array<std::pair<const char*, bool SettingsChoice::*>, 5> Keys{{
    {"Gain", &SettingsChoice::gain},
    {"Pad", &SettingsChoice::pad},
    {"Pol", &SettingsChoice::polarity},
    {"48V", &SettingsChoice::phantom48V},
    {"Mute", &SettingsChoice::mute},
}};
} // namespace

SettingsChoice read(const std::string& profilePath)
{
    const IniFile file = IniFile::load(profilePath);
    SettingsChoice choice;
    for (const auto& [key, box] : Keys)
        choice.*box = file.value(Section, key).value_or("1") != "0";
    return choice;
}

bool write(const std::string& profilePath, const SettingsChoice& choice)
{
    IniFile file = IniFile::load(profilePath);
    for (const auto& [key, box] : Keys)
        file.setValue(Section, key, choice.*box ? "1" : "0");
    return file.save(profilePath);
}

} // namespace deskpanel::PasteSettingsProfile
