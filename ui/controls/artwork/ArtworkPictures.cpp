// Backgrounds, the banner, the about picture, the dialog header parts, the unit box
// pictures and the application icon.
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/artwork/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace deskpanel {

namespace artwork {
namespace {

void whiteFrame(QPainter& p, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour::slateLight, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 9, 9);
    p.restore();
}

// The product logo: the model name large, the maker's name under it.
void logo(QPainter& p, const QRectF& r)
{
    const QRectF model(r.left(), r.top(), r.width(), r.height() * 0.72);
    const QRectF maker(r.left(), model.bottom(), r.width(), r.height() - model.height());
    kit::label(p, model, QStringLiteral("RP-8"), colour::gainText, model.height() * 0.95, true);
    kit::label(p, maker, QStringLiteral("VELTARA"), colour::silver, maker.height() * 0.8, true);
}

// A unit box: a rounded tablet with a lamp and the state's name. The left end stays
// plain white: the panel writes the unit number there.
ImageRegistry::Painter unitBox(QColor lamp, bool lit, QString text, QColor tablet)
{
    return [lamp, lit, text, tablet](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), Qt::white);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour::barFrame, 1));
        p.setBrush(tablet);
        p.drawRoundedRect(QRectF(24.5, 1.5, s.width() - 26, s.height() - 3), 5, 5);
        kit::led(p, QPointF(35, s.height() / 2.0), 4.5, lamp, lit);
        kit::label(p, QRectF(43, 0, s.width() - 47, s.height()), text, colour::silver, 9, true);
        p.setPen(QPen(colour::barFrame, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.5, 0.5, 22, s.height() - 1), 4, 4);
    };
}

// A header corner of a dialog: the gradient bar with its outer corner rounded off
// (transparent outside the curve).
ImageRegistry::Painter headerCorner(bool left)
{
    return [left](QPainter& p, const QSize& s) {
        const qreal w = s.width(), h = s.height(), r = 10;
        // The outer edge: up the side, round the corner, along the top.
        QPainterPath edge;
        if (left) {
            edge.moveTo(0.5, h);
            edge.lineTo(0.5, r);
            edge.quadTo(0.5, 0.5, r, 0.5);
            edge.lineTo(w, 0.5);
        } else {
            edge.moveTo(0, 0.5);
            edge.lineTo(w - r, 0.5);
            edge.quadTo(w - 0.5, 0.5, w - 0.5, r);
            edge.lineTo(w - 0.5, h);
        }
        QPainterPath body = edge;
        body.lineTo(left ? w : 0, h);
        body.closeSubpath();
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, QColor(250, 250, 252));
        g.setColorAt(0.5, QColor(206, 210, 218));
        g.setColorAt(1, QColor(168, 174, 186));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.fillPath(body, g);
        p.strokePath(edge, QPen(QColor(0, 64, 128), 1));
    };
}

} // namespace

void registerPictures(ImageRegistry& registry)
{
    // The header fill of every dialog: the same gradient as the corners, tiled across.
    registry.add(QStringLiteral("GRAY_GRADIENT"), {282, 28}, [](QPainter& p, const QSize& s) {
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, QColor(250, 250, 252));
        g.setColorAt(0.5, QColor(206, 210, 218));
        g.setColorAt(1, QColor(168, 174, 186));
        p.fillRect(QRectF(0, 0, s.width(), s.height()), g);
        p.fillRect(QRectF(0, 0, s.width(), 1), QColor(0, 64, 128));
    });
    registry.add(ImageRegistry::key(213), {23, 28}, headerCorner(true));
    registry.add(ImageRegistry::key(220), {23, 28}, headerCorner(false));

    // The main window's ground: brushed slate, tiled.
    registry.add(QStringLiteral("BACKGROUND"), {36, 35}, [](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::viewGround.darker(135));
        for (int y = 0; y < s.height(); y += 3)
            p.fillRect(QRectF(0, y, s.width(), 1), colour::viewGround.darker(150));
    });

    // The banner across the top of the main window.
    registry.add(ImageRegistry::key(191), {988, 160}, [](QPainter& p, const QSize& s) {
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, QColor(30, 38, 66));
        g.setColorAt(1, QColor(18, 24, 44));
        p.fillRect(QRectF(0, 0, s.width(), s.height()), g);
        // Scene list frame with its dark header strip.
        whiteFrame(p, QRectF(4, 14, 266, 142));
        p.fillRect(QRectF(9, 18, 256, 22), QColor(35, 31, 32));
        // Logo.
        logo(p, QRectF(280, 34, 190, 96));
        // Unit status heading and frame.
        kit::label(p, QRectF(476, 6, 492, 24), QStringLiteral("Unit Status"), colour::silver, 16, true);
        whiteFrame(p, QRectF(476, 30, 492, 126));
    });

    // The about picture; its bottom band is the ground of the version text.
    registry.add(ImageRegistry::key(165), {491, 314}, [](QPainter& p, const QSize& s) {
        QLinearGradient g(0, 0, s.width(), s.height());
        g.setColorAt(0, QColor(34, 44, 74));
        g.setColorAt(1, QColor(70, 86, 120));
        p.fillRect(QRectF(0, 0, s.width(), s.height()), g);
        logo(p, QRectF(0, 40, s.width(), 160));
        kit::label(p, QRectF(0, 214, s.width(), 24), QStringLiteral("DeskPanel remote preamplifier control"),
                   colour::silver, 15, false);
        p.fillRect(QRectF(0, 280, s.width(), 34), QColor(134, 158, 194));
        p.fillRect(QRectF(0, 280, s.width(), 1), colour::silver);
    });

    // Unit boxes of the unit status panel.
    registry.add(QStringLiteral("INACTIVE_UNIT_BOXED"), {110, 27},
                 unitBox(QColor(150, 150, 150), false, QStringLiteral("INACTIVE"), colour::slate));
    registry.add(QStringLiteral("ACTIVE_UNIT_BOXED"), {110, 27},
                 unitBox(QColor(60, 220, 90), true, QStringLiteral("ACTIVE"), colour::slateDark));
    registry.add(QStringLiteral("OFFLINE_UNIT_BOXED"), {110, 27},
                 unitBox(QColor(255, 176, 32), true, QStringLiteral("OFF-LINE"), colour::slateDeep));
    registry.add(QStringLiteral("CONFLICTED_UNIT_BOXED"), {110, 27},
                 unitBox(QColor(240, 40, 36), true, QStringLiteral("CONFLICT"), QColor(70, 30, 36)));
    registry.add(QStringLiteral("FAULT_UNIT_BOXED"), {110, 27},
                 unitBox(QColor(240, 40, 36), true, QStringLiteral("FAULT"), QColor(70, 30, 36)));

    // Application icon.
    registry.add(ImageRegistry::key(128), {32, 32}, [](QPainter& p, const QSize& s) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::slateDark);
        p.drawRoundedRect(QRectF(1, 1, s.width() - 2, s.height() - 2), 6, 6);
        p.fillRect(QRectF(8, 7, 3, 18), Qt::black);
        p.fillRect(QRectF(20, 7, 3, 18), Qt::black);
        p.fillRect(QRectF(5, 16, 9, 5), colour::silver);
        p.fillRect(QRectF(17, 10, 9, 5), colour::silver);
        kit::led(p, QPointF(26, 26), 2.5, QColor(240, 40, 36), true);
    });
}

} // namespace artwork

} // namespace deskpanel
