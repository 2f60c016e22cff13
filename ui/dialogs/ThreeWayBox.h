#pragma once
#include "ui/controls/GlassDialog.h"

#include <functional>

namespace deskpanel {

// The three-way decision box of the exit prompt. Its results are the reverse of the
// decision box: Yes gives 7, No gives 6, Cancel and Escape give 2. Enter starts Save As
// (the callback) while the box stays open.
class ThreeWayBox : public GlassDialog {
    Q_OBJECT
public:
    ThreeWayBox(const QString& text, std::function<void()> saveAs, QWidget* parent = nullptr);

    static constexpr int resultYes = 7;
    static constexpr int resultNo = 6;

protected:
    void onCommand(int id) override;
    void onEnter() override;

private:
    std::function<void()> m_saveAs;
    bool m_savingAs = false;
};

} // namespace deskpanel
