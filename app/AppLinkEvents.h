#pragma once
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
    explicit AppLinkEvents(Project& project) : m_project(project) {}
    // The link that sends the settings; it is created after its events.
    void attach(UnitSender& sender) { m_sender = &sender; }

    void saveUnitSettings(int unitNumber) override;
    void restoreUnitSettings(int unitNumber) override;
    void setLevel(int, int) override {}
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
    UnitSender* m_sender = nullptr;
    std::array<ChannelSettings, ChannelsPerUnit> m_held{};
};

} // namespace deskpanel
