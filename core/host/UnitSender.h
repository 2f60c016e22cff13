#pragma once
#include "core/model/Limits.h"

#include <string>
#include <vector>

namespace deskpanel {

// How the project model reaches the units: the unit link implements it. A setting for
// a unit number that no present unit carries is not sent.
class UnitSender {
public:
    virtual ~UnitSender() = default;
    // name is one of "Gain", "Link", "Mute", "Pol", "Pad", "48v"; input is 1..8.
    virtual void sendParameter(const std::string& name, double value, int unitNumber, int input) = 0;
    // A poll packet with its complete state to every present unit.
    virtual void fullResend() = 0;
    // Some present unit carries this unit number.
    virtual bool isUnitPresent(int unitNumber) const = 0;
    // Number of present units.
    virtual int unitCount() const = 0;
    // Raised for the rest of the run once any unit reported the reduced gain range.
    virtual bool reducedGainRange() const = 0;
    // While quiet, a failed send opens no box (nothing a remote caused may wait on one);
    // every failed send is counted, quiet or not.
    virtual void setQuietFailures(bool /*quiet*/) {}
    virtual unsigned long long failedSends() const { return 0; }
    // The unit number of every present unit in the order the link keeps its units (by
    // MAC address); a number two units carry comes twice.
    virtual std::vector<int> unitNumbersInTableOrder() const
    {
        std::vector<int> numbers;
        for (int unit = 1; unit <= MaxUnits; ++unit)
            if (isUnitPresent(unit))
                numbers.push_back(unit);
        return numbers;
    }
};

} // namespace deskpanel
