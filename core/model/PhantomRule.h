#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/RecallSafes.h"

#include <vector>

namespace deskpanel {

// The one rule for which inputs a change of many at once (a recall, its Undo or Redo, a
// remote recall) switches 48 V on: off now, on in what is brought, and not left as it is
// by a 48 V safe. The preview, the 48 V guard and the remote refusal all ask this.
bool switchesPhantomOn(const ChannelSettings& live, const ChannelSettings& target, SafeFlags kept);
std::vector<int> phantomSwitchedOnBy(const ChannelSettingsArray& live, const ChannelSettingsArray& target,
                                     const RecallSafes& kept);

} // namespace deskpanel
