#pragma once
#include "core/host/ChangeListDialog.h"
#include "core/model/ChannelSettings.h"

#include <array>
#include <string>

namespace deskpanel {

class Project;

// The lines of a recall preview: one per channel whose settings or name the recall
// changes ("3  Kick In  gain 42 → 30 dB, 48V off → ON"), lines that switch 48 V on
// first (as warnings), then the other changes, then one line per channel whose safe
// settings the recall would have changed and keeps ("kept: ..."). `names` may be null
// (the Blank Scene leaves names alone).
std::vector<ChangeLine> recallChangeLines(const Project& project, const ChannelSettingsArray& target,
                                          const std::array<std::string, MaxChannels>* names, bool reducedGainRange);

// Puts warnings first, then changes, then kept lines, each kind in its given order.
void orderChangeLines(std::vector<ChangeLine>& lines);

} // namespace deskpanel
