#pragma once
#include <optional>
#include <string_view>

namespace deskpanel {

// What a paired stage device may do: look; change channels; change channels and recall
// scenes.
enum class StagePermission {
    View,
    Control,
    Recall
};

constexpr std::string_view permissionText(StagePermission permission)
{
    switch (permission) {
    case StagePermission::Control: return "control";
    case StagePermission::Recall: return "recall";
    default: return "view";
    }
}

constexpr std::optional<StagePermission> permissionFromText(std::string_view text)
{
    if (text == "view")
        return StagePermission::View;
    if (text == "control")
        return StagePermission::Control;
    if (text == "recall")
        return StagePermission::Recall;
    return std::nullopt;
}

} // namespace deskpanel
