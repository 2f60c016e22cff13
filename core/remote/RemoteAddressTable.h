#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

// What a remote address does.
enum class RemoteAction {
    ChannelGain,
    ChannelGainStep,
    ChannelMute,
    ChannelPad,
    ChannelPolarity,
    ChannelPhantom,
    ChannelName,
    ChannelPreset,
    GroupMute,
    SceneRecall,
    SceneActive,
    SceneList,
    UnitState,
    Subscribe,
    Unsubscribe,
    MetersSubscribe,
    Reply,
    Info,
    Ping,
};

// One row of the remote address table. In a pattern "{n}" stands for a channel number
// 1..384, "{g}" for a link group 1..10 and "{u}" for a unit number 1..48.
struct RemoteAddress {
    const char* pattern;
    RemoteAction action;
    const char* arguments; // what a message may carry; documentation only
    const char* does; // documentation only
};

// Every address the endpoint serves, in the order the user guide lists them. Answers go
// out on the address asked, or as "/deskpanel/pong" and "/deskpanel/error".
std::span<const RemoteAddress> remoteAddressTable();

// An address matched against the table: the row's action and the number its
// placeholder carried (zero-based: channel index 0..383, group 1..10 as is, unit 1..48
// as is), or what was wrong. The placeholder's segment may be an OSC address pattern
// ("*", "?", "[1-4]", "{1,2,3}"): `numbers` then holds every number it matches, in
// order (`number` the first); other segments are literal.
struct RemoteAddressMatch {
    RemoteAction action = RemoteAction::Ping;
    int number = 0;
    std::vector<int> numbers; // every number matched: one, or a pattern's
    bool pattern = false;
    std::string error; // empty when matched
};
RemoteAddressMatch matchRemoteAddress(const std::string& address);

// OSC 1.0 pattern matching of one address segment: '*', '?', '[...]' (ranges, '!' to
// negate) and '{a,b}'. Bounded: the work grows with the lengths, never without end.
bool oscPatternMatches(std::string_view pattern, std::string_view text);

// The address of a row with its placeholder filled ("/deskpanel/ch/12/gain" for
// channel index 11); rows without a placeholder ignore `number`.
std::string remoteAddressFor(RemoteAction action, int number = 0);

} // namespace deskpanel
