#pragma once
#include "ui/controls/CGlassDialog.h"

// The decision box: Yes (6) and No (7). Typing Y or N answers without a click.
class CDecisionDialog : public CGlassDialog {
    Q_OBJECT
public:
    explicit CDecisionDialog(const QString& text, QWidget* parent = nullptr);

protected:
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;
};
