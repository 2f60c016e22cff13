#pragma once
#include "core/model/Metering.h"
#include "core/model/UnitSettingsKeeper.h"
#include "core/unitlink/UnitLinkEvents.h"

#include <functional>

namespace deskpanel {

// Connects the unit link to the rest of the program: new units receive their inputs'
// settings through the channel control, levels go to the meters, and state changes
// reach the views.
class AppLinkEvents : public UnitLinkEvents {
public:
    explicit AppLinkEvents(Metering& metering) : m_metering(metering) {}
    // The channel control is created after the link, which needs these events first.
    void attach(UnitSettingsKeeper& keeper) { m_keeper = &keeper; }

    void saveUnitSettings(int unitNumber) override
    {
        if (m_keeper)
            m_keeper->saveUnitSettings(unitNumber);
    }
    void restoreUnitSettings(int unitNumber) override
    {
        if (m_keeper)
            m_keeper->restoreUnitSettings(unitNumber);
    }
    void setLevel(int channel, int levelDb) override { m_metering.setLevel(channel, levelDb); }
    void unitStateChanged(int unitNumber) override
    {
        if (onStateChanged)
            onStateChanged(unitNumber);
    }
    void unitBoxBlink(int unitNumber, UnitPicture picture) override
    {
        if (onBlink)
            onBlink(unitNumber, picture);
    }

    void unitGoneSilent(int unitNumber, std::uint32_t lastHeardMs) override
    {
        if (onSilent)
            onSilent(unitNumber, lastHeardMs);
    }

    std::function<void(int)> onStateChanged;
    std::function<void(int, std::uint32_t)> onSilent;
    std::function<void(int, UnitPicture)> onBlink;

private:
    Metering& m_metering;
    UnitSettingsKeeper* m_keeper = nullptr;
};

} // namespace deskpanel
