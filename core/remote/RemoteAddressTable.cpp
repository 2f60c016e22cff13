#include "core/remote/RemoteAddressTable.h"

#include "core/model/Limits.h"

#include <array>
#include <cstring>
#include <string_view>

namespace deskpanel {
namespace {

constexpr std::array<RemoteAddress, 19> Table{{
    {"/deskpanel/ch/{n}/gain", RemoteAction::ChannelGain, "f or i: dB",
     "sets the gain as a fader move to that position would: rounded to the nearest dB, 8..80 (69 at most under "
     "the reduced range); a limited linked move answers with the gain reached, a dropped one with an error"},
    {"/deskpanel/ch/{n}/gain/step", RemoteAction::ChannelGainStep, "i: dB, -10..-1 or 1..10",
     "moves the gain by that many dB, as that many presses of the arrow keys would"},
    {"/deskpanel/ch/{n}/mute", RemoteAction::ChannelMute, "i 0/1, f 0.0/1.0, T or F", "as the strip's MUTE switch"},
    {"/deskpanel/ch/{n}/pad", RemoteAction::ChannelPad, "i 0/1, f 0.0/1.0, T or F", "as the strip's PAD switch"},
    {"/deskpanel/ch/{n}/polarity", RemoteAction::ChannelPolarity, "i 0/1, f 0.0/1.0, T or F",
     "as the strip's POL switch"},
    {"/deskpanel/ch/{n}/phantom", RemoteAction::ChannelPhantom, "i 0/1, f 0.0/1.0, T or F",
     "as the 48V switch; on only with \"Allow 48 V from remote\" and never while \"Confirm 48 V on\" is set"},
    {"/deskpanel/ch/{n}/name", RemoteAction::ChannelName, "none (query)", "answers s: the channel's title"},
    {"/deskpanel/ch/{n}/preset", RemoteAction::ChannelPreset, "s: a preset's name",
     "applies the preset of the library as a paste would (a pattern pastes onto every match in one undo step); "
     "48 V on as for /deskpanel/ch/{n}/phantom"},
    {"/deskpanel/group/{g}/mute", RemoteAction::GroupMute, "i 0/1",
     "sets MUTE of every channel of link group g, in channel order, each as its own MUTE switch alone"},
    {"/deskpanel/scene/recall", RemoteAction::SceneRecall, "s: name, or i: number (0 the Blank Scene)",
     "recalls the scene, without a prompt"},
    {"/deskpanel/scene/active", RemoteAction::SceneActive, "none (query)",
     "answers s: the active scene's name, i: its number"},
    {"/deskpanel/scene/list", RemoteAction::SceneList, "none",
     "answers i first, i total, then one s per scene in list order: datagrams of at most 1,472 bytes, 20 ms apart"},
    {"/deskpanel/unit/{u}/state", RemoteAction::UnitState, "none (query)",
     "answers s: INACTIVE, ACTIVE, OFFLINE, CONFLICT, LOCAL or FAULT"},
    {"/deskpanel/subscribe", RemoteAction::Subscribe, "i: seconds 1..60, then s: the token",
     "the first answers /deskpanel/subscribe/token s; sent again with the token, sends the whole state, then every "
     "change, until the lease runs out; a subscriber renews without the token"},
    {"/deskpanel/unsubscribe", RemoteAction::Unsubscribe, "none",
     "ends the subscription (answers /deskpanel/unsubscribed)"},
    {"/deskpanel/meters/subscribe", RemoteAction::MetersSubscribe,
     "i seconds, i first channel, i count (1..384), i rate 1..20 Hz, then s: the token",
     "sends /deskpanel/meters i first, b levels (one signed byte per channel, dB, -128 silent) at that rate"},
    {"/deskpanel/reply", RemoteAction::Reply, "i: port, 0 for each message's own",
     "sends the sending host's answers and feedback to that port"},
    {"/deskpanel/info", RemoteAction::Info, "none",
     "answers s program, s version, s project, i units taken on, i their channels"},
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

namespace {

// One bracket expression at the front of `pattern` (after the '['), against `c`.
bool bracketMatches(std::string_view set, char c)
{
    bool negate = !set.empty() && set.front() == '!';
    if (negate)
        set.remove_prefix(1);
    bool found = false;
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (i + 2 < set.size() && set[i + 1] == '-') {
            found = found || (c >= set[i] && c <= set[i + 2]);
            i += 2;
        } else {
            found = found || c == set[i];
        }
    }
    return found != negate;
}

// A pattern segment longer than this is refused: a number segment has at most three digits.
constexpr std::size_t MaxPatternBytes = 32;
// Steps one match may take: a pattern made to explode stops matching instead.
constexpr int MatchSteps = 1000;

bool matches(std::string_view pattern, std::string_view text, int& steps);

} // namespace

bool oscPatternMatches(std::string_view pattern, std::string_view text)
{
    int steps = MatchSteps;
    return matches(pattern, text, steps);
}

namespace {

bool matches(std::string_view pattern, std::string_view text, int& steps)
{
    if (--steps < 0)
        return false;
    if (pattern.empty())
        return text.empty();
    switch (pattern.front()) {
    case '*':
        // A star takes as few characters as it must; each choice is tried once.
        for (std::size_t taken = 0; taken <= text.size(); ++taken)
            if (matches(pattern.substr(1), text.substr(taken), steps))
                return true;
        return false;
    case '?': return !text.empty() && matches(pattern.substr(1), text.substr(1), steps);
    case '[': {
        const std::size_t close = pattern.find(']');
        if (close == std::string_view::npos || text.empty())
            return false;
        return bracketMatches(pattern.substr(1, close - 1), text.front()) &&
               matches(pattern.substr(close + 1), text.substr(1), steps);
    }
    case '{': {
        const std::size_t close = pattern.find('}');
        if (close == std::string_view::npos)
            return false;
        std::string_view choices = pattern.substr(1, close - 1);
        const std::string_view after = pattern.substr(close + 1);
        for (;;) {
            const std::size_t comma = choices.find(',');
            const std::string_view choice = choices.substr(0, comma);
            if (text.substr(0, choice.size()) == choice && matches(after, text.substr(choice.size()), steps))
                return true;
            if (comma == std::string_view::npos)
                return false;
            choices.remove_prefix(comma + 1);
        }
    }
    default:
        return !text.empty() && text.front() == pattern.front() && matches(pattern.substr(1), text.substr(1), steps);
    }
}

} // namespace

RemoteAddressMatch matchRemoteAddress(const std::string& address)
{
    RemoteAddressMatch match;
    for (const RemoteAddress& row : Table) {
        std::string_view pattern = row.pattern;
        std::string_view rest = address;
        std::string_view numberSegment;
        const Placeholder* placeholder = nullptr;
        bool matches = true;
        while (matches && (!pattern.empty() || !rest.empty())) {
            const std::string_view want = nextSegment(pattern);
            const std::string_view got = nextSegment(rest);
            if (const Placeholder* p = placeholderOf(want)) {
                placeholder = p;
                numberSegment = got;
            } else {
                matches = want == got;
            }
        }
        if (!matches)
            continue;
        match.action = row.action;
        if (!placeholder)
            return match;
        const auto toNumber = [placeholder](int n) { return placeholder->token == "{n}" ? n - 1 : n; };
        if (numberSegment.find_first_of("*?[{") == std::string_view::npos) {
            const int number = numberOf(numberSegment);
            if (number < placeholder->first || number > placeholder->last) {
                match.error = std::string(placeholder->name) + " out of range";
                return match;
            }
            match.number = toNumber(number);
            match.numbers = {match.number};
            return match;
        }
        match.pattern = true;
        if (numberSegment.size() > MaxPatternBytes) {
            match.error = "pattern too long";
            return match;
        }
        for (int n = placeholder->first; n <= placeholder->last; ++n)
            if (oscPatternMatches(numberSegment, std::to_string(n)))
                match.numbers.push_back(toNumber(n));
        if (match.numbers.empty()) {
            match.error = std::string("no ") + placeholder->name + " matches the pattern";
            return match;
        }
        match.number = match.numbers.front();
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
