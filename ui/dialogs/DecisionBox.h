#pragma once
#include "ui/controls/GlassDialog.h"

namespace deskpanel {

// The decision box: Yes (6) and No (7). Typing Y or N answers without a click; Enter
// answers No, Escape closes with 2, which callers also take as No.
class DecisionBox : public GlassDialog {
    Q_OBJECT
public:
    explicit DecisionBox(const QString& text, QWidget* parent = nullptr);

protected:
    void onCommand(int id) override;
    void onEnter() override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace deskpanel
