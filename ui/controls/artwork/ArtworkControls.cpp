// Scroll bar parts, fader tracks and caps, and the faces of the text and picture buttons.
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/artwork/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace deskpanel {

namespace artwork {
namespace {

enum class Dir {
    Left,
    Right,
    Up,
    Down
};

ImageRegistry::Painter arrow(Dir dir)
{
    return [dir](QPainter& p, const QSize& s) {
        kit::bevelPanel(p, QRectF(0, 0, s.width(), s.height()), colour::slateLight, colour::slate);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::silver);
        const qreal cx = s.width() / 2.0, cy = s.height() / 2.0, a = s.width() / 4.5;
        QPolygonF tri;
        switch (dir) {
        case Dir::Left:
            tri << QPointF(cx - a, cy) << QPointF(cx + a * 0.7, cy - a) << QPointF(cx + a * 0.7, cy + a);
            break;
        case Dir::Right:
            tri << QPointF(cx + a, cy) << QPointF(cx - a * 0.7, cy - a) << QPointF(cx - a * 0.7, cy + a);
            break;
        case Dir::Up:
            tri << QPointF(cx, cy - a) << QPointF(cx - a, cy + a * 0.7) << QPointF(cx + a, cy + a * 0.7);
            break;
        case Dir::Down:
            tri << QPointF(cx, cy + a) << QPointF(cx - a, cy - a * 0.7) << QPointF(cx + a, cy - a * 0.7);
            break;
        }
        p.drawPolygon(tri);
    };
}

ImageRegistry::Painter track(bool horizontal)
{
    return [horizontal](QPainter& p, const QSize& s) {
        QLinearGradient g(0, 0, horizontal ? 0 : s.width(), horizontal ? s.height() : 0);
        g.setColorAt(0, colour::slateDeep);
        g.setColorAt(0.5, colour::slateDark);
        g.setColorAt(1, colour::slateDeep);
        p.fillRect(QRectF(0, 0, s.width(), s.height()), g);
    };
}

ImageRegistry::Painter thumb(bool horizontal)
{
    return [horizontal](QPainter& p, const QSize& s) {
        kit::bevelPanel(p, QRectF(0, 0, s.width(), s.height()), colour::slateLight.lighter(115), colour::slate);
        // Grip ridges in the middle.
        const qreal c = (horizontal ? s.width() : s.height()) / 2.0;
        for (int i = -2; i <= 2; ++i) {
            const QRectF ridge =
                horizontal ? QRectF(c + i * 3, 5, 1, s.height() - 10) : QRectF(5, c + i * 3, s.width() - 10, 1);
            p.fillRect(ridge, colour::slateDeep);
        }
    };
}

// A fader slot: a dark groove in the middle of the strip, with scale ticks beside it.
ImageRegistry::Painter faderTrack()
{
    return [](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::viewGround);
        const qreal groove = std::max<qreal>(3, s.width() / 6.0);
        const qreal x = (s.width() - groove) / 2.0;
        p.fillRect(QRectF(x, 4, groove, s.height() - 8), Qt::black);
        p.fillRect(QRectF(x + groove, 4, 1, s.height() - 8), colour::slateLight);
        for (int i = 0; i <= 10; ++i) {
            const qreal y = 8 + i * (s.height() - 16) / 10.0;
            p.fillRect(QRectF(1, y, x - 3, 1), colour::slateLight);
            p.fillRect(QRectF(x + groove + 3, y, s.width() - x - groove - 4, 1), colour::slateLight);
        }
    };
}

// A fader cap: a silver block with a black index line across its middle.
ImageRegistry::Painter faderCap()
{
    return [](QPainter& p, const QSize& s) {
        kit::bevelPanel(p, QRectF(0, 0, s.width(), s.height()), QColor(226, 230, 236), QColor(120, 126, 138));
        const qreal mid = s.height() / 2.0;
        for (int i = -3; i <= 3; i += 2)
            p.fillRect(QRectF(2, mid + i * s.height() / 12.0, s.width() - 4, 1), QColor(150, 156, 166));
        p.fillRect(QRectF(1, mid - 1, s.width() - 2, 2), Qt::black);
    };
}

// A dialog button face (the text is drawn by the button itself).
ImageRegistry::Painter textFace(QColor top, QColor bottom)
{
    return [top, bottom](QPainter& p, const QSize& s) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.setPen(QPen(QColor(0, 64, 128), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, s.width() - 1, s.height() - 1), 5, 5);
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        p.drawLine(QPointF(5, 1.5), QPointF(s.width() - 5, 1.5));
    };
}

enum class Look {
    Normal,
    Pressed,
    Disabled
};

// A scene button face on the button ground, with its label and a lamp that burns red
// while the button is pressed or latched.
ImageRegistry::Painter guiFace(QString text, Look look, bool lock)
{
    return [text, look, lock](QPainter& p, const QSize& s) {
        p.fillRect(QRectF(0, 0, s.width(), s.height()), colour::buttonGround);
        const bool pressed = look == Look::Pressed;
        kit::bevelPanel(p, QRectF(1, 1, s.width() - 2, s.height() - 2), pressed ? colour::slateDark : colour::slate,
                        pressed ? colour::slateDeep : colour::slateDark, pressed);
        const QColor ink = look == Look::Pressed    ? colour::labelRed
                           : look == Look::Disabled ? colour::labelDisabled
                                                    : colour::labelGrey;
        kit::led(p, QPointF(9, s.height() / 2.0), 3.5, colour::labelRed, pressed);
        qreal textLeft = 15;
        if (lock) {
            kit::padlock(p, QRectF(16, s.height() / 2.0 - 6, 9, 12), ink);
            textLeft = 27;
        }
        kit::label(p, QRectF(textLeft, 0, s.width() - textLeft - 3, s.height()), text, ink, 10.0, true);
    };
}

} // namespace

void registerControls(ImageRegistry& registry)
{
    auto add = [&registry](int id, QSize size, ImageRegistry::Painter painter) {
        registry.add(ImageRegistry::key(id), size, std::move(painter));
    };

    // Scroll bars.
    add(166, {153, 20}, thumb(true));
    add(177, {96, 20}, track(true));
    add(168, {20, 20}, arrow(Dir::Left));
    add(181, {20, 20}, arrow(Dir::Right));
    add(167, {19, 86}, thumb(false));
    add(223, {19, 41}, thumb(false));
    add(186, {20, 88}, track(false));
    add(169, {20, 20}, arrow(Dir::Up));
    add(188, {20, 20}, arrow(Dir::Down));

    // Faders: underview and overview tracks and caps.
    add(133, {31, 200}, faderTrack());
    add(132, {31, 54}, faderCap());
    add(134, {16, 200}, faderTrack());
    add(135, {14, 30}, faderCap());

    // Dialog buttons: the usual face and the light blue one that marks the default answer.
    add(162, {75, 21}, textFace(QColor(250, 250, 252), QColor(196, 202, 214)));
    add(230, {75, 21}, textFace(QColor(222, 240, 255), QColor(140, 192, 236)));

    // Scene buttons: normal, pressed (or latched) and disabled faces.
    add(174, {68, 25}, guiFace(QStringLiteral("Overview"), Look::Normal, false));
    add(175, {71, 28}, guiFace(QStringLiteral("Overview"), Look::Pressed, false));
    add(178, {60, 25}, guiFace(QStringLiteral("Lock"), Look::Normal, true));
    add(179, {60, 25}, guiFace(QStringLiteral("Lock"), Look::Pressed, true));
    add(180, {68, 25}, guiFace(QStringLiteral("New"), Look::Normal, false));
    add(182, {68, 25}, guiFace(QStringLiteral("New"), Look::Pressed, false));
    add(139, {68, 25}, guiFace(QStringLiteral("New"), Look::Disabled, false));
    add(184, {48, 25}, guiFace(QStringLiteral("Delete"), Look::Normal, false));
    add(185, {48, 25}, guiFace(QStringLiteral("Delete"), Look::Pressed, false));
    add(140, {48, 25}, guiFace(QStringLiteral("Delete"), Look::Disabled, false));
    add(183, {68, 25}, guiFace(QStringLiteral("Recall"), Look::Normal, false));
    add(187, {68, 25}, guiFace(QStringLiteral("Recall"), Look::Pressed, false));
    add(141, {68, 25}, guiFace(QStringLiteral("Recall"), Look::Disabled, false));
}

} // namespace artwork

} // namespace deskpanel
