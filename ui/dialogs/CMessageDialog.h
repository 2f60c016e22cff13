#pragma once
#include "ui/controls/CGlassDialog.h"

// The program's message box: the text and one OK button (result 1). Enter acts as OK.
class CMessageDialog : public CGlassDialog {
    Q_OBJECT
public:
    explicit CMessageDialog(const QString& text, QWidget* parent = nullptr);
};
