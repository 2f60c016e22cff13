#pragma once
#include <QAccessible>
#include <QRect>
#include <QString>

namespace deskpanel {

// One control that a widget paints itself rather than being a widget of its own (a link
// field, a meter, a title, a unit box), as assistive technology is to know it.
struct PaintedPart {
    QAccessible::Role role = QAccessible::Button;
    QString name;
    QString description;
    QRect rect; // the host widget's coordinates
    bool hasValue = false;
    double value = 0;
    double minimum = 0;
    double maximum = 0;
    bool pressable = false;
    bool disabled = false;
};

// Implemented by a widget that paints controls: the accessibility layer lists them as
// the widget's children after its child widgets.
class PaintedParts {
public:
    virtual ~PaintedParts() = default;
    virtual int paintedPartCount() const = 0;
    virtual PaintedPart paintedPart(int index) const = 0;
    // The part's press. Called after the accessibility call that asked for it returned.
    virtual void pressPaintedPart(int index) = 0;
    // The part that has the keyboard focus inside the widget, or -1.
    virtual int focusedPaintedPart() const { return -1; }
};

} // namespace deskpanel
