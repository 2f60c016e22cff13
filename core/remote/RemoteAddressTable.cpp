#include "core/remote/RemoteAddressTable.h"

#include "core/model/Limits.h"

#include <array>
#include <cstring>
#include <string_view>

namespace deskpanel {
namespace {

constexpr std::array<RemoteAddress, 14> Table{{
    {"/deskpanel/ch/{n}/gain", RemoteAction::ChannelGain, "f or i: dB",
     "sets the gain as a fader move to that position would: rounded to the nearest dB, 8..80 (69 at most under "
     "the reduced range); a limited linked move answers with the gain reached, a dropped one with an error"},
    {"/deskpanel/ch/{n}/mute", RemoteAction::ChannelMute, "i 0/1", "as the strip's MUTE switch"},
    {"/deskpanel/ch/{n}/pad", RemoteAction::ChannelPad, "i 0/1", "as the strip's PAD switch"},
    {"/deskpanel/ch/{n}/polarity", RemoteAction::ChannelPolarity, "i 0/1", "as the strip's POL switch"},
    {"/deskpanel/ch/{n}/phantom", RemoteAction::ChannelPhantom, "i 0/1",
     "as the 48V switch; only with \"Allow 48 V from remote\""},
    {"/deskpanel/ch/{n}/name", RemoteAction::ChannelName, "none (query)", "answers s: the channel's title"},
    {"/deskpanel/group/{g}/mute", RemoteAction::GroupMute, "i 0/1",
     "sets MUTE of every channel of link group g, in channel order, each as its own MUTE switch alone"},
    {"/deskpanel/scene/recall", RemoteAction::SceneRecall, "s: name, or i: number (0 the Blank Scene)",
     "recalls the scene, without a prompt"},
    {"/deskpanel/scene/active", RemoteAction::SceneActive, "none (query)",
     "answers s: the active scene's name, i: its number"},
    {"/deskpanel/scene/list", RemoteAction::SceneList, "none", "answers one s per scene, in list order"},
    {"/deskpanel/unit/{u}/state", RemoteAction::UnitState, "none (query)",
     "answers s: INACTIVE, ACTIVE, OFFLINE, CONFLICT, LOCAL or FAULT"},
    {"/deskpanel/subscribe", RemoteAction::Subscribe, "i: seconds 1..60",
     "sends the whole state, then every change, until the lease runs out; send again to renew"},
    {"/deskpanel/unsubscribe", RemoteAction::Unsubscribe, "none", "ends the subscription"},
    {"/deskpanel/ping", RemoteAction::Ping, "none", "answers /deskpanel/pong"},
}};

struct Placeholder {
    std::string_view token;
    int first;
    int last;
    const char* name;
};
constexpr Placeholder Placeholders[] = {
    {"{n}", 1, MaxChannels, "channel"},
    {"{g}", 1, MaxLinkGroups, "link group"},
    {"{u}", 1, MaxUnits, "unit"},
};

const Placeholder* placeholderOf(std::string_view segment)
{
    for (const Placeholder& p : Placeholders)
        if (segment == p.token)
            return &p;
    return nullptr;
}

// The next '/'-separated segment of `rest`, which loses it.
std::string_view nextSegment(std::string_view& rest)
{
    if (!rest.empty() && rest.front() == '/')
        rest.remove_prefix(1);
    const std::size_t end = rest.find('/');
    const std::string_view segment = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    return segment;
}

// Decimal digits without a leading zero; -1 for anything else.
int numberOf(std::string_view text)
{
    if (text.empty() || text.size() > 4 || text.front() == '0')
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::span<const RemoteAddress> remoteAddressTable()
{
    return Table;
}

RemoteAddressMatch matchRemoteAddress(const std::string& address)
{
    RemoteAddressMatch match;
    for (const RemoteAddress& row : Table) {
        std::string_view pattern = row.pattern;
        std::string_view rest = address;
        int number = 0;
        const Placeholder* placeholder = nullptr;
        bool matches = true;
        while (matches && (!pattern.empty() || !rest.empty())) {
            const std::string_view want = nextSegment(pattern);
            const std::string_view got = nextSegment(rest);
            if (const Placeholder* p = placeholderOf(want)) {
                placeholder = p;
                number = numberOf(got);
            } else {
                matches = want == got;
            }
        }
        if (!matches)
            continue;
        match.action = row.action;
        if (placeholder) {
            if (number < placeholder->first || number > placeholder->last) {
                match.error = std::string(placeholder->name) + " out of range";
                return match;
            }
            match.number = placeholder->token == "{n}" ? number - 1 : number;
        }
        return match;
    }
    match.error = "unknown address";
    return match;
}

std::string remoteAddressFor(RemoteAction action, int number)
{
    for (const RemoteAddress& row : Table) {
        if (row.action != action)
            continue;
        std::string text = row.pattern;
        const std::size_t at = text.find('{');
        if (at != std::string::npos)
            text.replace(at, 3, std::to_string(text[at + 1] == 'n' ? number + 1 : number));
        return text;
    }
    return {};
}

} // namespace deskpanel
