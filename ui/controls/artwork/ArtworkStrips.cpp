// The static parts of the channel strips: unit header pieces, number plates, text fields,
// edges, meter backgrounds and the meter scales.
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/artwork/Artwork.h"

#include <QPainter>

#include <array>

namespace deskpanel {

namespace artwork {
namespace {

// A header piece: a raised slate bar with a thin light rule along its bottom.
ImageRegistry::Painter headerPiece(bool leftEnd, bool rightEnd)
{
    return [leftEnd, rightEnd](QPainter& p, const QSize& s) {
        const QRectF r(0, 0, s.width(), s.height());
        kit::bevelPanel(p, r, colour::slateLight.darker(115), colour::slateDark);
        p.fillRect(QRectF(0, s.height() - 3, s.width(), 1), colour::gainText.darker(140));
        if (leftEnd)
            p.fillRect(QRectF(0, 0, 3, s.height()), colour::slateDeep);
        if (rightEnd)
            p.fillRect(QRectF(s.width() - 3, 0, 3, s.height()), colour::slateDeep);
    };
}

// The unit name field: a recessed window in the header.
ImageRegistry::Painter nameField()
{
    return [](QPainter& p, const QSize& s) {
        kit::bevelPanel(p, QRectF(0, 0, s.width(), s.height()), colour::slateLight.darker(115), colour::slateDark);
        kit::plate(p, QRectF(4, 4, s.width() - 8, s.height() - 8), 4);
    };
}

ImageRegistry::Painter recessedField(qreal radius)
{
    return [radius](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::viewGround);
        kit::plate(p, QRectF(1, 1, s.width() - 2, s.height() - 2), radius);
    };
}

// A vertical edge: a narrow rail with a highlight and a shadow.
ImageRegistry::Painter edge()
{
    return [](QPainter& p, const QSize& s) {
        QLinearGradient g(0, 0, s.width(), 0);
        g.setColorAt(0, colour::slateDeep);
        g.setColorAt(0.4, colour::slateLight);
        g.setColorAt(1, colour::slateDeep);
        p.fillRect(QRectF(0, 0, s.width(), s.height()), g);
    };
}

// Meter background: a black well with faint segment rules.
ImageRegistry::Painter meterWell(int segments)
{
    return [segments](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), Qt::black);
        p.setPen(QPen(QColor(40, 44, 52), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, s.width() - 1, s.height() - 1));
        const qreal step = qreal(s.height()) / segments;
        for (int i = 1; i < segments; ++i)
            p.fillRect(QRectF(1, i * step, s.width() - 2, 1), QColor(24, 26, 32));
    };
}

// A meter scale: ticks at the 21 thresholds of the scale (8.35 pixels apart, lined up with
// the underview meter beside it) and labels at every other one.
ImageRegistry::Painter scale(std::array<int, 21> labels, QString unit)
{
    return [labels, unit](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::viewGround);
        const qreal top = 13;
        const qreal step = 8.35;
        for (int i = 0; i < 21; ++i) {
            const qreal y = top + i * step;
            const bool major = i % 2 == 0;
            p.fillRect(QRectF(s.width() - (major ? 5 : 3), y, major ? 5 : 3, 1), colour::silver);
            if (major) {
                kit::label(p, QRectF(0, y - 5, s.width() - 5, 10), QString::number(labels[std::size_t(i)]),
                           i == 0 ? colour::labelRed : colour::silver, 6.5, false, Qt::AlignRight | Qt::AlignVCenter);
            }
        }
        kit::label(p, QRectF(0, 0, s.width(), 10), unit, colour::gainText, 6.0, false);
    };
}

} // namespace

void registerStrips(ImageRegistry& registry)
{
    auto add = [&registry](int id, QSize size, ImageRegistry::Painter painter) {
        registry.add(ImageRegistry::key(id), size, std::move(painter));
    };

    // Overview: unit header, name field, edges, channel fields, meter.
    add(198, {211, 26}, headerPiece(true, false));
    add(200, {161, 26}, nameField());
    add(199, {213, 26}, headerPiece(false, true));
    add(290, {15, 476}, edge());
    add(211, {10, 96}, meterWell(20));
    add(148, {26, 21}, recessedField(2));
    add(212, {71, 31}, recessedField(3));

    // Shared by both views.
    add(251, {75, 32}, recessedField(4)); // channel number above the strip
    add(254, {5, 443}, edge()); // right edge of a channel strip

    // Underview.
    add(171, {283, 36}, headerPiece(true, false));
    add(170, {210, 36}, nameField());
    add(172, {283, 36}, headerPiece(false, true));
    add(260, {15, 476}, edge());
    add(249, {32, 23}, recessedField(2));
    add(257, {76, 27}, recessedField(4));
    add(253, {71, 31}, recessedField(3));
    add(256, {21, 201}, meterWell(20));
    // The channel name field is a strip of light marking tape: the name is written on it in black.
    add(252, {76, 27}, [](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::viewGround);
        kit::bevelPanel(p, QRectF(2, 2, s.width() - 4, s.height() - 4), QColor(236, 233, 222), QColor(214, 210, 196));
    });
    // The reset mark shown in a meter readout: a small cyan circular arrow on black.
    add(226, {18, 11}, [](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), Qt::black);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour::gainText, 1.6));
        p.drawArc(QRectF(5, 1.5, 8, 8), 60 * 16, 280 * 16);
        p.setBrush(colour::gainText);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(11.5, 0), QPointF(14.5, 3), QPointF(10.5, 4)}));
    });

    // Meter scales, one per meter scale setting.
    const std::array<int, 21> dbfs{0,   -1,  -2,  -3,  -4,  -5,  -6,  -7,  -8,  -10, -12,
                                   -14, -16, -18, -20, -22, -25, -30, -35, -40, -50};
    const std::array<int, 21> dbu22{22, 21, 20, 19, 18, 17, 16,  15,  14,  13, 12,
                                    11, 10, 7,  4,  0,  -5, -10, -15, -22, -28};
    const std::array<int, 21> dbu18{18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 4, 0, -13, -16, -19, -22, -25, -28};
    const std::array<int, 21> dbu15{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 0, -4, -8, -12, -16, -20, -24, -28};
    const std::array<int, 21> dbu12{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -3, -6, -9, -12, -16, -20, -24, -28};
    const std::array<int, 21> dbu9{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -5, -7, -10, -13, -16, -19, -25, -28};
    const QString fs = QStringLiteral("dBFS");
    const QString u = QStringLiteral("dBU");
    add(149, {20, 185}, scale(dbfs, fs));
    // The three dBFS references read the same labels; 151 and 152 are their spare copies.
    add(151, {20, 185}, scale(dbfs, fs));
    add(152, {20, 185}, scale(dbfs, fs));
    add(150, {20, 184}, scale(dbu9, u));
    add(153, {20, 184}, scale(dbu12, u));
    add(154, {19, 183}, scale(dbu15, u));
    add(155, {19, 184}, scale(dbu18, u));
    add(156, {19, 183}, scale(dbu22, u));
}

} // namespace artwork

} // namespace deskpanel
