#pragma once
#include <optional>
#include <span>
#include <string>

namespace deskpanel {

// What a remote address does.
enum class RemoteAction {
    ChannelGain,
    ChannelMute,
    ChannelPad,
    ChannelPolarity,
    ChannelPhantom,
    ChannelName,
    GroupMute,
    SceneRecall,
    SceneActive,
    SceneList,
    UnitState,
    Subscribe,
    Unsubscribe,
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
// as is), or what was wrong.
struct RemoteAddressMatch {
    RemoteAction action = RemoteAction::Ping;
    int number = 0;
    std::string error; // empty when matched
};
RemoteAddressMatch matchRemoteAddress(const std::string& address);

// The address of a row with its placeholder filled ("/deskpanel/ch/12/gain" for
// channel index 11); rows without a placeholder ignore `number`.
std::string remoteAddressFor(RemoteAction action, int number = 0);

} // namespace deskpanel
