#pragma once
#include <string>

class QComboBox;

namespace deskpanel {

// The "Listen on" choices of the remote dialogs: (automatic,) this computer only, all
// interfaces, this computer's address on the network, and `current` when it is none of
// these; `current` is selected. Each item's data is the profile's word for it.
void addListenChoices(QComboBox* box, const std::string& current, bool withAutomatic);

} // namespace deskpanel
