#pragma once
#include <string>

namespace deskpanel {

// The Recall and Safety settings, kept in the program's own profile (section "Safety"),
// since the project's preference words are fixed. Both are off until the operator
// turns them on.
struct SafetySettings {
    static constexpr const char* Section = "Safety";
    static constexpr const char* PreviewKey = "PreviewSceneRecall";
    static constexpr const char* Confirm48VKey = "Confirm48VOn";

    bool previewSceneRecall = false;
    bool confirm48VOn = false;

    // Anything but "1" reads as off.
    static SafetySettings read(const std::string& profilePath);
    bool write(const std::string& profilePath) const;

    bool operator==(const SafetySettings&) const = default;
};

} // namespace deskpanel
