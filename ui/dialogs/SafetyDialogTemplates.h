#pragma once
#include "ui/controls/DialogTemplate.h"

namespace deskpanel {

// Control ids and layouts of the recall safety dialogs: the change list, the Recall
// Safes matrix and the Recall and Safety settings.
namespace SafetyControl {
constexpr int Heading = 1170;
constexpr int ChangeLines = 1171;
constexpr int SafesArea = 1172;
constexpr int SafesScrollBar = 1173;
constexpr int PreviewRecall = 1174;
constexpr int Confirm48V = 1175;
} // namespace SafetyControl

namespace SafetyTemplates {
const DialogTemplate& changeList();
const DialogTemplate& recallSafes();
const DialogTemplate& recallAndSafety();
} // namespace SafetyTemplates

} // namespace deskpanel
