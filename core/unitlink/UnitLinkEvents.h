#pragma once
#include "core/unitlink/UnitState.h"

#include <cstdint>

namespace deskpanel {

// What the unit link asks of the rest of the program. All calls come on the UI thread.
class UnitLinkEvents {
public:
    virtual ~UnitLinkEvents() = default;
    // Together they send a unit's eight inputs their settings from the project.
    virtual void saveUnitSettings(int unitNumber) = 0;
    virtual void restoreUnitSettings(int unitNumber) = 0;
    // One input's level from a fully processed packet.
    virtual void setLevel(int channel, int levelDb) = 0;
    // A unit number's state changed: repaint the unit boxes.
    virtual void unitStateChanged(int unitNumber) = 0;
    // One step of a LOCAL unit's blinking.
    virtual void unitBoxBlink(int unitNumber, UnitPicture picture) = 0;
    // The off-line check found the unit silent, last heard at `lastHeardMs` (the link's
    // clock); called before the off-line message is shown and the state changes.
    virtual void unitGoneSilent(int /*unitNumber*/, std::uint32_t /*lastHeardMs*/) {}
};

// Does nothing; for a link that nothing listens to yet.
class NullUnitLinkEvents : public UnitLinkEvents {
public:
    void saveUnitSettings(int) override {}
    void restoreUnitSettings(int) override {}
    void setLevel(int, int) override {}
    void unitStateChanged(int) override {}
    void unitBoxBlink(int, UnitPicture) override {}
};

} // namespace deskpanel
