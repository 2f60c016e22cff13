#pragma once
#include "core/model/Metering.h"
#include "core/model/Project.h"
#include "core/unitlink/UnitLinkEvents.h"

#include <array>
#include <functional>

namespace deskpanel {

class UnitSender;

// Connects the unit link to the rest of the program: new units receive their inputs'
// settings from the project, and state changes reach the views.
class AppLinkEvents : public UnitLinkEvents {
public:
    AppLinkEvents(Project& project, Metering& metering) : m_project(project), m_metering(metering) {}
    // The link that sends the settings; it is created after its events.
    void attach(UnitSender& sender) { m_sender = &sender; }

    void saveUnitSettings(int unitNumber) override;
    void restoreUnitSettings(int unitNumber) override;
    void setLevel(int channel, int levelDb) override { m_metering.setLevel(channel, levelDb); }
    void unitStateChanged(int unitNumber) override
    {
        if (onStateChanged)
            onStateChanged(unitNumber);
    }
    void unitBoxBlink(int, UnitPicture) override {}
    int linkButtonOf(int channel) const override { return m_project.live.at(static_cast<std::size_t>(channel)).linkButton; }

    std::function<void(int)> onStateChanged;

private:
    Project& m_project;
    Metering& m_metering;
    UnitSender* m_sender = nullptr;
    std::array<ChannelSettings, ChannelsPerUnit> m_held{};
};

} // namespace deskpanel
