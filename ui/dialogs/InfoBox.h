#pragma once
#include "ui/controls/GlassDialog.h"

namespace deskpanel {

// The program's message box: the text and one OK button (result 1). Enter acts as OK.
class InfoBox : public GlassDialog {
    Q_OBJECT
public:
    explicit InfoBox(const QString& text, QWidget* parent = nullptr);
};

} // namespace deskpanel
