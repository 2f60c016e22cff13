#pragma once
#include "core/unitlink/UnitLinkEvents.h"

#include <string>
#include <vector>

namespace deskpanel::test {

// Records what the unit link asks of the rest of the program, in order.
class RecordingLinkEvents : public UnitLinkEvents {
public:
    void saveUnitSettings(int u) override { calls.push_back("save " + std::to_string(u)); }
    void restoreUnitSettings(int u) override { calls.push_back("restore " + std::to_string(u)); }
    void setLevel(int channel, int levelDb) override
    {
        ++levelCount;
        lastLevel[channel % 384] = levelDb;
    }
    void unitStateChanged(int u) override { stateChanges.push_back(u); }
    void unitBoxBlink(int u, UnitPicture picture) override { blinks.emplace_back(u, picture); }

    std::vector<std::string> calls;
    std::vector<int> stateChanges;
    std::vector<std::pair<int, UnitPicture>> blinks;
    int levelCount = 0;
    std::array<int, 384> lastLevel{};
};

} // namespace deskpanel::test
