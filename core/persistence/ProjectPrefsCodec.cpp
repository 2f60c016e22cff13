#include "core/persistence/ProjectPrefsCodec.h"

#include "core/persistence/LittleEndian.h"

namespace deskpanel {
namespace {

// Every word but 4 (16 bits) and 16 (reserved), in word order.
template <typename Prefs, typename Visit>
void forEachPlainWord(Prefs& p, Visit visit)
{
    visit(0, p.promptNewScene);
    visit(1, p.promptRecallScene);
    visit(2, p.promptSceneDelete);
    visit(3, p.promptSceneReorder);
    visit(5, p.muteLinkedChannels);
    visit(6, p.peakHold10s);
    visit(7, p.peakHold3s);
    visit(8, p.peakHoldInfinite);
    visit(9, p.peakHoldOff);
    visit(10, p.peakHoldMs);
    visit(11, p.redZoneThreshold);
    visit(12, p.meterDisplay1);
    visit(13, p.meterDisplay2);
    visit(14, p.meterDisplay3);
    visit(15, p.meterDisplay4);
    visit(17, p.dbuMaxLevelIndex);
    visit(18, p.dbuMaxLevel);
    visit(19, p.dbfsReferenceIndex);
    visit(20, p.dbfsReference);
    visit(21, p.meterConfirmedA);
    visit(22, p.meterConfirmedB);
    visit(23, p.meterScaleDbu);
    visit(24, p.meterScaleDbfs);
    visit(25, p.autosaveMinutes);
    visit(26, p.autosaveOff);
}

constexpr std::size_t UpdateRateWord = 4;

} // namespace

PrefsRecord buildProjectPrefs(const ProjectPrefs& prefs)
{
    PrefsRecord bytes{};
    forEachPlainWord(prefs, [&](std::size_t word, std::int32_t value) { putInt32(bytes.data() + word * 4, value); });
    putInt32(bytes.data() + UpdateRateWord * 4, static_cast<std::int32_t>(prefs.ethernetUpdateRate));
    return bytes;
}

ProjectPrefs parseProjectPrefs(const std::uint8_t* bytes)
{
    ProjectPrefs prefs;
    forEachPlainWord(prefs, [&](std::size_t word, std::int32_t& value) { value = getInt32(bytes + word * 4); });
    prefs.ethernetUpdateRate = static_cast<std::uint16_t>(getInt32(bytes + UpdateRateWord * 4) & 0xFFFF);
    return prefs;
}

std::uint32_t autosavePeriodMs(std::int32_t autosaveMinutes)
{
    std::int32_t minutes = autosaveMinutes;
    if (minutes < 1)
        minutes = 1;
    if (minutes > 60)
        minutes = 60;
    return static_cast<std::uint32_t>(minutes) * 60000u;
}

void applyProjectPrefs(const ProjectPrefs& read, ProjectPrefs& settings, Timers& timers)
{
    settings = read;
    if (settings.autosaveOff == 1)
        timers.stop(TimerId::Autosave);
    else
        timers.start(TimerId::Autosave, autosavePeriodMs(settings.autosaveMinutes));
}

} // namespace deskpanel
