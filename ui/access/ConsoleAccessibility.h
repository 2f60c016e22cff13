#pragma once

namespace deskpanel {

// Makes the console's own controls known to assistive technology: the strips' switches
// and faders, the painted parts of the strips and the unit box panel, the scene buttons
// and the dialogs' glass buttons and scroll bars, each with its role, name, value and
// state. Actions asked for by an assistive tool run after its call returned, so a box
// they open never blocks it. Safe to call more than once.
void installConsoleAccessibility();

} // namespace deskpanel
