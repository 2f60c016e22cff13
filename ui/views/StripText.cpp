#include "ui/views/StripText.h"

#include "core/model/Text.h"

#include <QFontMetrics>
#include <QPainter>

namespace deskpanel::StripText {

int channelNameChars(int dpiY)
{
    return dpiY == 120 ? 11 : 12;
}

QString channelName(const std::string& utf8, int dpiY)
{
    return QString::fromStdString(cutToFieldChars(utf8, static_cast<std::size_t>(channelNameChars(dpiY))));
}

void drawUnitName(QPainter& p, const QRect& field, const QString& text, int shiftDown, int centredUpTo)
{
    const QFontMetrics metrics(p.font());
    const int h = metrics.height();
    const int middle = field.top() + field.height() / 2;
    const QRect band(field.left() + 10, middle - h / 2 + shiftDown, field.width() - 20, h);
    const bool centred = metrics.horizontalAdvance(text) <= centredUpTo;
    p.setPen(UnitNameGrey);
    p.drawText(band, Qt::TextSingleLine | Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft), text);
}

void drawChannelName(QPainter& p, const QRect& field, const QString& text)
{
    const QRect inside = field.adjusted(2, 0, -2, 0);
    const bool fits = QFontMetrics(p.font()).horizontalAdvance(text) <= inside.width();
    p.setPen(Qt::black);
    p.drawText(inside, Qt::TextSingleLine | Qt::AlignVCenter | (fits ? Qt::AlignHCenter : Qt::AlignLeft), text);
}

void drawCentred(QPainter& p, const QRect& field, const QString& text, const QColor& colour)
{
    p.setPen(colour);
    p.drawText(field, Qt::TextSingleLine | Qt::AlignCenter, text);
}

void drawSafeMark(QPainter& p, const QRect& numberField)
{
    p.setPen(SafeAmber);
    p.drawText(numberField.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("S"));
}

} // namespace deskpanel::StripText
