#pragma once
#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace deskpanel {
class ImageRegistry;

// The program's artwork, painted by code: a dark slate-blue hardware console. Each
// register function adds one family of pictures to the registry under the numbers and
// names the windows ask for.
namespace artwork {

void registerAll(ImageRegistry& registry);
void registerSwitches(ImageRegistry& registry); // LED switch faces of both strip views
void registerStrips(ImageRegistry& registry); // headers, plates, edges, meters, scales
void registerControls(ImageRegistry& registry); // scroll bars, faders, button faces
void registerPictures(ImageRegistry& registry); // banner, about, backgrounds, unit boxes, dialog parts

// The colours the windows themselves paint with; the artwork is matched to them.
namespace colour {
inline const QColor viewGround{80, 96, 128};
inline const QColor gainText{81, 165, 187};
inline const QColor buttonGround{48, 59, 83};
inline const QColor dialogGround{231, 231, 231};
inline const QColor barFrame{76, 85, 118};
inline const QColor slateDeep{28, 34, 48};
inline const QColor slateDark{38, 46, 64};
inline const QColor slate{58, 70, 96};
inline const QColor slateLight{104, 120, 154};
inline const QColor silver{200, 206, 216};
inline const QColor labelGrey{190, 194, 200};
inline const QColor labelRed{236, 52, 44};
inline const QColor labelDisabled{96, 102, 112};
} // namespace colour

// Drawing helpers shared by the families.
namespace kit {
// A face with a vertical gradient and a one-pixel bevel (light top-left, dark bottom-right).
void bevelPanel(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, bool sunken = false);
// A round LED: dark glass when off, a lit glow of `lit` when on.
void led(QPainter& p, const QPointF& centre, qreal radius, const QColor& lit, bool on);
// Text in the heavy label face, centred in `r`.
void label(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, qreal pixelSize, bool heavy = true,
           Qt::Alignment align = Qt::AlignCenter);
// A dark recessed plate with rounded corners (number plates, text fields).
void plate(QPainter& p, const QRectF& r, qreal radius = 3);
// A padlock outline.
void padlock(QPainter& p, const QRectF& r, const QColor& colour);
} // namespace kit

} // namespace artwork

} // namespace deskpanel
