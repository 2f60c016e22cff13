#include "core/persistence/SafetySettings.h"

#include "core/persistence/IniFile.h"

namespace deskpanel {

SafetySettings SafetySettings::read(const std::string& profilePath)
{
    const IniFile file = IniFile::load(profilePath);
    SafetySettings settings;
    settings.previewSceneRecall = file.value(Section, PreviewKey).value_or("0") == "1";
    settings.confirm48VOn = file.value(Section, Confirm48VKey).value_or("0") == "1";
    return settings;
}

bool SafetySettings::write(const std::string& profilePath) const
{
    IniFile file = IniFile::load(profilePath);
    file.setValue(Section, PreviewKey, previewSceneRecall ? "1" : "0");
    file.setValue(Section, Confirm48VKey, confirm48VOn ? "1" : "0");
    return file.save(profilePath);
}

} // namespace deskpanel
