#pragma once
#include "SimulatedUnit.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace unitsim {

struct RackOptions {
    int unitCount = 48;
    int firstUnitNumber = 1;
    std::string firstAddress = "127.0.0.11"; // unit k binds the k-th address from here
    std::string hostAddress = "127.0.0.1";
    std::uint16_t hostPort = 2000;
    std::uint16_t unitPort = 2001;
    std::uint32_t durationMs = 0; // 0: until stopped
    std::uint32_t reportEveryMs = 0;
    std::uint16_t fixedIntervalMs = 0; // every unit sends at this interval whatever it is told
    // Behaviour by the unit number a unit starts with.
    std::map<int, UnitBehaviour> behaviours;

    UnitBehaviour& behaviourOf(int unitNumber);
};

// Parses the command line. On a mistake returns false and sets `error`.
bool parseRackOptions(const std::vector<std::string>& arguments, RackOptions& options, std::string& error);
const char* rackUsage();

} // namespace unitsim
