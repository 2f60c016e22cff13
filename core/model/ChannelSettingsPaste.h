#pragma once
#include "core/model/PartialSettings.h"

#include <vector>

namespace deskpanel {

class ChannelControl;
class Operator;
class Project;
class SceneTracker;
class UnitSender;

// A paste of channel settings (a copied channel's, a clipboard line's or a preset's) onto
// a list of channels, as one operation: every value is set as if the operator had set it
// on that channel alone (no linked mute, no linked gain; link groups stay as they are),
// each change sends what that change sends to a present unit and nothing to a unit that
// is not taken on, and Undo takes the whole paste back in one step. A pasted gain also
// becomes the channel's link reference, so the next group move starts from it, and is
// limited by the reduced gain range as a fader move is. Recall safes do not apply: a
// paste is not a recall.
class ChannelSettingsPaste {
public:
    enum class Outcome {
        Pasted,
        NothingChanged, // every target already had the settings
        Refused, // a held fader among the targets, or the strips held: the beep
        Declined, // the 48 V guard was answered No
    };

    ChannelSettingsPaste(Project& project, ChannelControl& channels, UnitSender& units, SceneTracker& scenes,
                         Operator& op);

    // Channels outside 0..383 are passed over; a channel listed twice is pasted once.
    Outcome paste(const PartialSettings& settings, std::vector<int> channels);

    // The targets of the paste dialog: channel numbers 1..384 or unit numbers 1..48,
    // in either order; numbers outside are limited to the range.
    static std::vector<int> channelNumbers(int from, int to);
    static std::vector<int> units(int from, int to);

private:
    bool refused(const std::vector<int>& channels) const;
    bool pasteOne(int channel, const PartialSettings& settings);

    Project& m_project;
    ChannelControl& m_channels;
    UnitSender& m_units;
    SceneTracker& m_scenes;
    Operator& m_operator;
};

} // namespace deskpanel
