#include "ui/controls/artwork/Artwork.h"

#include "ui/controls/FontMapper.h"
#include "ui/controls/ImageRegistry.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace deskpanel {

namespace artwork {

void registerAll(ImageRegistry& registry)
{
    registerSwitches(registry);
    registerStrips(registry);
    registerControls(registry);
    registerPictures(registry);
}

namespace kit {

void bevelPanel(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, bool sunken)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
    const QColor light = sunken ? bottom.darker(160) : top.lighter(150);
    const QColor dark = sunken ? top.lighter(130) : bottom.darker(170);
    const qreal x0 = r.left(), y0 = r.top(), x1 = r.right() - 1, y1 = r.bottom() - 1;
    p.fillRect(QRectF(x0, y0, r.width(), 1), light);
    p.fillRect(QRectF(x0, y0, 1, r.height()), light);
    p.fillRect(QRectF(x0, y1, r.width(), 1), dark);
    p.fillRect(QRectF(x1, y0, 1, r.height()), dark);
    p.restore();
}

void led(QPainter& p, const QPointF& centre, qreal radius, const QColor& lit, bool on)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 16, 22));
    p.drawEllipse(centre, radius + 1, radius + 1);
    QRadialGradient g(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    if (on) {
        g.setColorAt(0, lit.lighter(170));
        g.setColorAt(0.45, lit);
        g.setColorAt(1, lit.darker(160));
    } else {
        const QColor off = QColor::fromHsv(lit.hsvHue(), std::max(0, lit.hsvSaturation() / 2), 52);
        g.setColorAt(0, off.lighter(150));
        g.setColorAt(1, off.darker(130));
    }
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void label(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, qreal pixelSize, bool heavy,
           Qt::Alignment align)
{
    p.save();
    QFont f = FontMapper::font(heavy ? QStringLiteral("Arial Black") : QStringLiteral("Arial"), 10, heavy ? 400 : 700);
    int px = std::max(1, qRound(pixelSize));
    f.setPixelSize(px);
    // Shrink a label that would not fit its face rather than clip it.
    while (px > 5 && QFontMetricsF(f).horizontalAdvance(text) > r.width()) {
        f.setPixelSize(--px);
    }
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, int(align), text);
    p.restore();
}

void plate(QPainter& p, const QRectF& r, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour::slateLight, 1));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, colour::slateDeep);
    g.setColorAt(1, colour::slateDark);
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void padlock(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF body(r.left(), r.top() + r.height() * 0.45, r.width(), r.height() * 0.55);
    QPen pen(colour, std::max<qreal>(1.2, r.width() / 6));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF shackle(r.left() + r.width() * 0.2, r.top(), r.width() * 0.6, r.height() * 0.8);
    p.drawArc(shackle, 0, 180 * 16);
    p.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(shackle.left(), body.top()));
    p.drawLine(QPointF(shackle.right(), shackle.center().y()), QPointF(shackle.right(), body.top()));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(body, 1.5, 1.5);
    p.restore();
}

} // namespace kit
} // namespace artwork

} // namespace deskpanel
