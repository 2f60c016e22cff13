#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"

#include <array>

namespace deskpanel {

// The holding area of Save and Restore unit settings: one unit's eight inputs. All
// zeros until the first save; keeps its content until the next one.
class UnitSettingsHolder {
public:
    using Inputs = std::array<ChannelSettings, ChannelsPerUnit>;

    UnitSettingsHolder();

    // Copies the inputs of a unit number 1..48; false (and nothing held changes) for any
    // other number. linkActive is held as 1 exactly where linkButton is 1.
    bool save(const ChannelSettingsArray& live, int unitNumber);
    const Inputs& held() const { return m_held; }
    // Nothing is restored before the first save: zeros would put every input at its
    // highest gain.
    bool hasSaved() const { return m_hasSaved; }

private:
    Inputs m_held;
    bool m_hasSaved = false;
};

} // namespace deskpanel
