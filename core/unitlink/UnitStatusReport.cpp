#include "core/unitlink/UnitStatusReport.h"

#include "core/model/Text.h"
#include "core/unitlink/HealthCheck.h"

namespace deskpanel {

namespace {

// Until a unit's first fully processed packet its readings are zeros; its health counts
// as normal then, as it does for the unit's classification.
bool readingsNormal(const UnitSlot& slot)
{
    return !slot.hasReadings || healthNormal(slot.health);
}

std::string readingsText(int unitNumber, const UnitHealth& h, const char* secondLine, int markedLine)
{
    // Line 0 is 48 V .. line 4 the temperature; the 5 V line keeps its leading blank
    // in front of the mark.
    const char* lines[5] = {"48v Monitor = %4.1f volts", "24v Monitor = %4.1f volts", " 5v Monitor = %4.1f volts",
                            "3.3v Monitor = %4.1f volts", "Temperature = %4.1f degrees C"};
    const float values[5] = {h.monitor48V, h.monitor24V, h.monitor5V, h.monitor3V3, h.temperature};
    std::string text = format("Status of Unit %d\n%s", unitNumber, secondLine);
    for (int i = 0; i < 5; ++i) {
        std::string line = format(lines[i], static_cast<double>(values[i]));
        if (i == markedLine)
            line = i == 2 ? " *** " + line.substr(1) : "*** " + line;
        text += "\n" + line;
    }
    return text;
}

int firstAbnormalLine(const UnitHealth& h)
{
    UnitHealth probe;
    probe.monitor48V = 48.0f;
    probe.monitor24V = 24.0f;
    probe.monitor5V = 5.0f;
    probe.monitor3V3 = 3.3f;
    probe.temperature = 40.0f;
    // Each reading is put into an otherwise normal set, in the order of the lines.
    float UnitHealth::*const fields[5] = {&UnitHealth::monitor48V, &UnitHealth::monitor24V, &UnitHealth::monitor5V,
                                          &UnitHealth::monitor3V3, &UnitHealth::temperature};
    for (int i = 0; i < 5; ++i) {
        UnitHealth one = probe;
        one.*fields[i] = h.*fields[i];
        if (!healthNormal(one))
            return i;
    }
    return -1;
}

} // namespace

UnitStatusTexts unitStatusTexts(int u, const UnitSlot& slot, const UnitRecord* record)
{
    UnitStatusTexts texts;
    if (slot.state == UnitState::INACTIVE) {
        texts.status = format("Status of Unit %d\nUnit ID %d %s", u, u, "is inactive.");
        return texts;
    }
    if (slot.ipConflict)
        texts.status = format("Status of Unit %d\nUnit ID %d has a conflicted IP Address ", u, u);
    else if (slot.state == UnitState::OFFLINE)
        texts.status = format("Status of Unit %d\nUnit ID %d %s", u, u, "is off-line.");
    else if (slot.idConflict)
        texts.status = format("Status of Unit %d\nUnit ID %d has a conflict with another Unit", u, u);

    if (!record) {
        // A number left ACTIVE without a record after a conflict cleared.
        if (texts.status.empty())
            texts.status = format("Status of Unit %d\nUnit ID %d is not reporting.", u, u);
        return texts;
    }
    if (readingsNormal(slot)) {
        if (slot.state == UnitState::ACTIVE)
            texts.status = readingsText(u, slot.health, "FUNCTIONING NORMALLY", -1);
        else if (slot.modeByte == 0)
            texts.status = readingsText(u, slot.health, "FUNCTIONING NORMALLY, LOCAL-MODE", -1);
        else if (texts.status.empty())
            texts.status = format("Status of Unit %d\nUnit ID %d is %s.", u, u, unitStateName(slot.state));
    } else {
        texts.status = readingsText(u, slot.health, "ABNORMAL POWER OR TEMPERATURE", firstAbnormalLine(slot.health));
    }
    const auto& m = record->mac;
    texts.macLine = format("Mac address = %02X%02X%02X%02X%02X%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
    texts.ipLine = format("IP Address: %s", record->ipText().c_str());
    return texts;
}

SystemStatusVerdicts systemStatusVerdicts(const UnitSlot& slot, bool conflictPending)
{
    SystemStatusVerdicts v;
    const bool assumeNormal = !slot.hasReadings;
    v.temperature = assumeNormal || temperatureNormal(slot.health);
    v.voltages = assumeNormal || voltagesNormal(slot.health);
    v.networking = !slot.ipConflict;
    v.connections = !conflictPending;
    return v;
}

std::string systemStatusEntry(int unitNumber, const UnitSlot& slot)
{
    return format(" Unit %d  IP Address: %s  %s", unitNumber, slot.slotIpText.c_str(), unitStateName(slot.state));
}

} // namespace deskpanel
