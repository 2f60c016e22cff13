#pragma once
#include "ui/controls/GlassDialog.h"

namespace deskpanel {

class ChannelControl;
class Operator;
class UnitLink;

// The status of one unit number at a time: its readings and state, its MAC and IP
// address. "< &Prev" and "&Next >" (also P and N typed) walk units 1..48 and beep at
// the ends; O or OK closes and raises the dialog-just-closed flag. The number it ends on
// is the program's current unit for the next time.
class UnitStatusDialog : public GlassDialog {
    Q_OBJECT
public:
    UnitStatusDialog(const UnitLink& link, ChannelControl& channels, Operator& op, int unit, QWidget* parent = nullptr);

    int unit() const { return m_unit; }
    QString statusText() const;
    QString macLine() const;
    QString ipLine() const;

protected:
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();

    const UnitLink& m_link;
    ChannelControl& m_channels;
    Operator& m_operator;
    int m_unit;
    QLabel* m_status = nullptr;
    QLabel* m_mac = nullptr;
    QLabel* m_ip = nullptr;
};

} // namespace deskpanel
