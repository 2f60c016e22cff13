#pragma once
#include "core/host/TimerId.h"
#include "core/model/Limits.h"
#include "core/model/PartialSettings.h"
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteAddressTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

class ChannelControl;
class Clock;
class Project;
class RemoteStateReader;
class SceneOperations;
class Timers;

// Applies remote messages the way the strips and the scene list apply the operator's
// changes: through the channel control and the scene operations, so the units get the
// same datagrams in the same order, links follow, Undo records and the scene is marked.
//
// Gain messages for one channel less than GrabMs apart are one grab of its fader: one
// set of Undo entries at the first, the release (the followed scene's snapshot) GrabMs
// after the last. Owns the timer of the grabs' releases.
class RemoteDispatcher {
public:
    static constexpr std::uint32_t GrabMs = 500;
    static constexpr int MaxGainStepDb = 10;

    // `grabTimer` is the timer of its grabs' releases: each transport has its own.
    RemoteDispatcher(Project& project, ChannelControl& channels, SceneOperations& scenes,
                     const RemoteStateReader& state, Timers& timers, const Clock& clock,
                     TimerId grabTimer = TimerId::RemoteGrabRelease);
    ~RemoteDispatcher();
    RemoteDispatcher(const RemoteDispatcher&) = delete;
    RemoteDispatcher& operator=(const RemoteDispatcher&) = delete;

    // "Allow 48 V from remote".
    void setAllowPhantom(bool allow) { m_allowPhantom = allow; }
    bool allowPhantom() const { return m_allowPhantom; }
    // The preset library's lookup by name, and the paste that applies one to channels
    // (false when it changed nothing or was refused); without them presets are refused.
    using PresetLookup = std::function<std::optional<PartialSettings>(const std::string& name)>;
    using PresetPaste = std::function<bool(const PartialSettings& settings, const std::vector<int>& channels)>;
    void setPresets(PresetLookup lookup, PresetPaste paste)
    {
        m_findPreset = std::move(lookup);
        m_pastePreset = std::move(paste);
    }
    // The version /deskpanel/info answers, as the About box shows it ("1.01").
    void setProgramVersion(std::string version) { m_programVersion = std::move(version); }

    // Applies one message whose address matched a row other than the subscription rows.
    // Answers for the sender are appended. False when the message was refused or
    // malformed: an error answer says why, and nothing changed.
    bool apply(const RemoteAddressMatch& match, const OscMessage& message, std::vector<OscMessage>& answers);

    // How many channels recalling the scene at `position` would switch 48 V on.
    int phantomSwitchOnCount(int position) const;

private:
    bool applyOne(const RemoteAddressMatch& match, const OscMessage& message, std::vector<OscMessage>& answers);
    bool gainStep(int channel, const OscMessage& message, std::vector<OscMessage>& answers);
    bool moveGainTo(int channel, int db, const std::string& address, std::vector<OscMessage>& answers);
    bool channelChange(const RemoteAddressMatch& match, const OscMessage& message, std::vector<OscMessage>& answers);
    bool gainChange(int channel, const OscMessage& message, std::vector<OscMessage>& answers);
    bool preset(const RemoteAddressMatch& match, const OscMessage& message, std::vector<OscMessage>& answers);
    bool groupMute(int group, const OscMessage& message, std::vector<OscMessage>& answers);
    bool recall(const OscMessage& message, std::vector<OscMessage>& answers);
    std::string phantomRefusal(int count, const std::string& notAllowed) const;
    // Why a change to these channels must not be made now; empty when it may.
    std::string refusalFor(const std::vector<int>& channels) const;
    void grab(int channel);
    void onGrabReleaseTimer();

    Project& m_project;
    ChannelControl& m_channels;
    SceneOperations& m_scenes;
    const RemoteStateReader& m_state;
    Timers& m_timers;
    const Clock& m_clock;
    TimerId m_grabTimer;
    bool m_allowPhantom = false;
    std::string m_programVersion = "1.01";
    PresetLookup m_findPreset;
    PresetPaste m_pastePreset;
    std::array<bool, MaxChannels> m_grabbed{};
    std::array<std::uint32_t, MaxChannels> m_lastMoveAt{};
};

// Whether a message would change something (a gain, a step, a switch, a group, a preset,
// a recall) rather than ask: such a message waits while another operation holds the gate.
bool isRemoteChange(const RemoteAddressMatch& match, const OscMessage& message);

// The answer that refuses a message: "/deskpanel/error" s "<what>: <address>", with at
// most MaxEchoedAddressBytes of the address.
constexpr std::size_t MaxEchoedAddressBytes = 128;
OscMessage remoteError(const std::string& what, const std::string& address);

} // namespace deskpanel
