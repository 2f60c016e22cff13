#pragma once
#include <QFont>
#include <QString>

namespace deskpanel {

// Builds the program's fonts from a face name, a size in tenths of a point and a weight
// (100..900), the way every window asks for them. A face that is not installed is mapped
// to a free face of like metrics: Liberation Sans for "Arial", "Microsoft Sans Serif" and
// "MS Sans Serif", a black weight of Lato (or Inter) for "Arial Black".
class FontMapper {
public:
    // The character height (not the cell height) is tenths / 10 x dpiY / 72 pixels,
    // rounded to the nearest pixel.
    static QFont font(const QString& face, int tenthsOfPoint, int weight, int dpiY = 96);
    static int pixelHeight(int tenthsOfPoint, int dpiY);
    // The family actually used for `face` on this machine.
    static QString family(const QString& face);
    // True when `face` is drawn with a heavy substitute whose weight must be forced.
    static bool isHeavyFace(const QString& face);
};

} // namespace deskpanel
