// LED switch faces: a dark bevelled key with an LED and its label. The off face shows a
// dark LED, the on face the lit one; both faces of a switch share everything else so the
// key does not jump when it changes.
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/artwork/Artwork.h"

#include <QPainter>

namespace deskpanel {

namespace artwork {
namespace {

const QColor green{60, 220, 90};
const QColor amber{255, 176, 32};
const QColor red{240, 40, 36};
const QColor blue{80, 190, 240};

// Underview keys: LED on the left, label on the right.
ImageRegistry::Painter wideKey(QString text, QColor lit, bool on)
{
    return [text, lit, on](QPainter& p, const QSize& s) {
        const QRectF r(0, 0, s.width(), s.height());
        kit::bevelPanel(p, r, colour::slate, colour::slateDark);
        kit::led(p, QPointF(9, s.height() / 2.0), 4.5, lit, on);
        kit::label(p, QRectF(15, 0, s.width() - 16, s.height()), text,
                   on ? colour::silver.lighter(115) : colour::labelGrey, 9.0, true);
    };
}

// Overview keys: LED on top, a small label under it.
ImageRegistry::Painter smallKey(QString text, QColor lit, bool on)
{
    return [text, lit, on](QPainter& p, const QSize& s) {
        const QRectF r(0, 0, s.width(), s.height());
        kit::bevelPanel(p, r, colour::slate, colour::slateDark);
        kit::led(p, QPointF(s.width() / 2.0, 5.5), 3.2, lit, on);
        kit::label(p, QRectF(0, 9, s.width(), s.height() - 9), text, colour::labelGrey, 6.0, true);
    };
}

struct Face {
    int off;
    int on;
    QSize size;
    const char* text;
    QColor lit;
    bool wide;
};

} // namespace

void registerSwitches(ImageRegistry& registry)
{
    const Face faces[] = {
        // underview (Part of the full-size strip)
        {129, 130, {35, 24}, "POL", green, true},
        {238, 241, {35, 24}, "PAD", green, true},
        {244, 245, {35, 24}, "48V", amber, true},
        {247, 248, {36, 24}, "MUTE", red, true},
        {235, 236, {40, 24}, "LINK", blue, true},
        // overview (compact strip)
        {131, 138, {18, 19}, "POL", green, false},
        {144, 145, {18, 18}, "PAD", green, false},
        {146, 147, {19, 18}, "48V", amber, false},
        {142, 143, {22, 18}, "MUTE", red, false},
    };
    for (const Face& f : faces) {
        const QString text = QString::fromLatin1(f.text);
        registry.add(ImageRegistry::key(f.off), f.size,
                     f.wide ? wideKey(text, f.lit, false) : smallKey(text, f.lit, false));
        registry.add(ImageRegistry::key(f.on), f.size,
                     f.wide ? wideKey(text, f.lit, true) : smallKey(text, f.lit, true));
    }

    // The unit identity check's indicator.
    registry.add(QStringLiteral("RED_LED_ON_16"), {20, 20},
                 [](QPainter& p, const QSize&) { kit::led(p, QPointF(10, 10), 7, red, true); });
    registry.add(QStringLiteral("RED_LED_OFF_16"), {20, 20},
                 [](QPainter& p, const QSize&) { kit::led(p, QPointF(10, 10), 7, red, false); });
}

} // namespace artwork

} // namespace deskpanel
