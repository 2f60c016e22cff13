#pragma once
#include <QColor>
#include <QRect>
#include <QString>

#include <string>

class QPainter;

namespace deskpanel {

// The texts the strip views draw and how they place them. Every text is drawn on one
// line, whatever it holds (a name read from a file may carry line breaks).
namespace StripText {

inline const QColor UnitNameGrey{164, 164, 164};
inline const QColor NumberWhite{250, 250, 250};
inline const QColor FieldBlue{81, 165, 187};

// A channel name is cut to 12 characters (11 on a screen of 120 pixels per inch), by
// whole characters. The full repaint and the repaint of one name field use this one rule.
int channelNameChars(int dpiY);
QString channelName(const std::string& utf8, int dpiY);

// A unit's name in its header field: in a band as high as the text, 10 pixels in from
// both ends, moved `shiftDown` pixels down, vertically centred; centred when the text is
// at most `centredUpTo` pixels wide, otherwise from the left.
void drawUnitName(QPainter& p, const QRect& field, const QString& text, int shiftDown, int centredUpTo);
// A channel name inside its field inset 2 pixels left and right: centred when it fits,
// otherwise from the left; vertically centred.
void drawChannelName(QPainter& p, const QRect& field, const QString& text);
void drawCentred(QPainter& p, const QRect& field, const QString& text, const QColor& colour);
// The mark of a channel with any recall safe: a small amber "S" at the right end of its
// number field, in the field's font.
inline const QColor SafeAmber{255, 176, 0};
void drawSafeMark(QPainter& p, const QRect& numberField);

} // namespace StripText
} // namespace deskpanel
