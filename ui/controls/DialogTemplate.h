#pragma once
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace deskpanel {

// A dialog layout as data: the size and font of the dialog and the rectangles of its
// controls, all in dialog units. Run-time controls are created over these rectangles.
struct DialogTemplate {
    struct Control {
        int id;
        QRect rect; // dialog units
    };

    QString name;
    QSize size; // dialog units
    QString fontFace;
    int fontTenths = 80;
    std::vector<Control> controls;

    // The control's rectangle in dialog units, or an empty rectangle when absent.
    QRect control(int id) const
    {
        for (const Control& c : controls)
            if (c.id == id)
                return c.rect;
        return {};
    }
    bool has(int id) const { return !control(id).isNull(); }
};

// Control ids shared by the program's dialogs.
namespace ControlId {
constexpr int Text = 1012;
constexpr int Header = 1048;
constexpr int Cancel = 1049;
constexpr int Ok = 1050;
constexpr int Yes = 1053;
constexpr int No = 1054;
constexpr int LeftCorner = 1061;
constexpr int Version = 930;
} // namespace ControlId

// Results of the dialogs, the numbers the program has always used.
namespace DialogResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace DialogResult

} // namespace deskpanel
