#pragma once
#include <string>

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
};

} // namespace deskpanel
