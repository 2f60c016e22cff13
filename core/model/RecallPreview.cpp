#include "core/model/RecallPreview.h"

#include "core/model/GainMath.h"
#include "core/model/PhantomRule.h"
#include "core/model/Project.h"
#include "core/model/Text.h"

#include <algorithm>

namespace deskpanel {

namespace {

constexpr const char* Arrow = "\xE2\x86\x92"; // →

const char* onOffText(int value)
{
    return value != 0 ? "ON" : "off";
}

void add(std::string& items, const std::string& item)
{
    if (!items.empty())
        items += ", ";
    items += item;
}

std::string switchChange(const char* label, int from, int to)
{
    return format("%s %s %s %s", label, onOffText(from), Arrow, onOffText(to));
}

} // namespace

void orderChangeLines(std::vector<ChangeLine>& lines)
{
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ChangeLine& a, const ChangeLine& b) { return a.kind < b.kind; });
}

std::vector<ChangeLine> recallChangeLines(const Project& project, const ChannelSettingsArray& target,
                                          const std::array<std::string, MaxChannels>* names, bool reduced)
{
    std::vector<ChangeLine> lines;
    for (int c = 0; c < MaxChannels; ++c) {
        const auto index = static_cast<std::size_t>(c);
        const ChannelSettings& now = project.live[index];
        const ChannelSettings& to = target[index];
        const SafeFlags safe = project.recallSafes.flags(c);
        std::string changes;
        std::string kept;
        const auto item = [&](SafeFlag flag, bool differs, const std::string& change, const std::string& keptText) {
            if (!differs)
                return;
            if (hasFlag(safe, flag))
                add(kept, keptText);
            else
                add(changes, change);
        };
        const int fromDb = gainDb(now.gainPosition, reduced);
        const int toDb = gainDb(std::clamp<int>(to.gainPosition, 0, MaxGainPosition), reduced);
        item(SafeFlag::Gain, fromDb != toDb, format("gain %d %s %d dB", fromDb, Arrow, toDb),
             format("gain %d dB", fromDb));
        const bool phantomOn = switchesPhantomOn(now, to, safe);
        item(SafeFlag::Phantom48V, (now.phantom48V != 0) != (to.phantom48V != 0),
             switchChange("48V", now.phantom48V, to.phantom48V), format("48V %s", onOffText(now.phantom48V)));
        item(SafeFlag::Pad, (now.pad != 0) != (to.pad != 0), switchChange("pad", now.pad, to.pad),
             format("pad %s", onOffText(now.pad)));
        item(SafeFlag::Polarity, (now.polarity != 0) != (to.polarity != 0),
             switchChange("pol", now.polarity, to.polarity), format("pol %s", onOffText(now.polarity)));
        item(SafeFlag::Mute, (now.mute != 0) != (to.mute != 0), switchChange("mute", now.mute, to.mute),
             format("mute %s", onOffText(now.mute)));
        if (now.linkGroup != to.linkGroup)
            add(changes, format("group %s %s %s", linkGroupLabel(now.linkGroup).c_str(), Arrow,
                                linkGroupLabel(to.linkGroup).c_str()));
        if ((now.linkButton != 0) != (to.linkButton != 0))
            add(changes, switchChange("link", now.linkButton, to.linkButton));
        const std::string& name = project.channels[index].name;
        if (names && (*names)[index] != name)
            add(changes, format("name \"%s\" %s \"%s\"", name.c_str(), Arrow, (*names)[index].c_str()));

        const std::string head = format("%d  %s  ", globalChannelNumber(c), name.c_str());
        if (!changes.empty())
            lines.push_back({phantomOn ? ChangeLine::Kind::Warning : ChangeLine::Kind::Change, head + changes});
        if (!kept.empty())
            lines.push_back({ChangeLine::Kind::Kept, head + "kept: " + kept});
    }
    orderChangeLines(lines);
    return lines;
}

} // namespace deskpanel
