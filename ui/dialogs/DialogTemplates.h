#pragma once
#include "ui/controls/DialogTemplate.h"

namespace deskpanel {

// The layouts of the program's boxes, by their template numbers and names.
namespace DialogTemplates {
const DialogTemplate& message(); // 144
const DialogTemplate& decision(); // 145
const DialogTemplate& threeWay(); // 164
const DialogTemplate& about(); // 166
const DialogTemplate& timedNote(); // "MESSAGEDLG"
} // namespace DialogTemplates

} // namespace deskpanel
