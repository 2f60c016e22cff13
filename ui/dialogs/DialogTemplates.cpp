#include "ui/dialogs/DialogTemplates.h"

namespace deskpanel {

namespace DialogTemplates {
namespace {
const QString msSansSerif = QStringLiteral("MS Sans Serif");
const QString microsoftSansSerif = QStringLiteral("Microsoft Sans Serif");
constexpr DialogTemplate::Control leftCorner{ControlId::LeftCorner, QRect(0, 0, 18, 18)};
} // namespace

const DialogTemplate& message()
{
    static const DialogTemplate t{QStringLiteral("144"),
                                  QSize(173, 127),
                                  microsoftSansSerif,
                                  80,
                                  {{ControlId::Text, QRect(10, 25, 152, 71)},
                                   {ControlId::Header, QRect(31, 0, 138, 18)},
                                   {ControlId::Ok, QRect(68, 106, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& decision()
{
    static const DialogTemplate t{QStringLiteral("145"),
                                  QSize(192, 94),
                                  microsoftSansSerif,
                                  80,
                                  {{ControlId::Text, QRect(15, 27, 163, 37)},
                                   {ControlId::Header, QRect(24, 0, 168, 18)},
                                   {ControlId::Yes, QRect(56, 70, 36, 12)},
                                   {ControlId::No, QRect(99, 70, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& threeWay()
{
    static const DialogTemplate t{QStringLiteral("164"),
                                  QSize(192, 94),
                                  msSansSerif,
                                  80,
                                  {{ControlId::Text, QRect(15, 27, 163, 37)},
                                   {ControlId::Header, QRect(24, 0, 168, 18)},
                                   {ControlId::Yes, QRect(37, 69, 36, 16)},
                                   {ControlId::No, QRect(77, 69, 36, 16)},
                                   {ControlId::Cancel, QRect(118, 69, 36, 16)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& about()
{
    static const DialogTemplate t{
        QStringLiteral("166"),
        QSize(364, 227),
        msSansSerif,
        80,
        {{ControlId::Header, QRect(18, 0, 137, 18)}, {ControlId::Version, QRect(269, 197, 48, 9)}, leftCorner}};
    return t;
}

const DialogTemplate& timedNote()
{
    // Placed at (174, 43) dialog units on the screen.
    static const DialogTemplate t{
        QStringLiteral("MESSAGEDLG"), QSize(267, 54), msSansSerif, 80, {{ControlId::Text, QRect(8, 5, 253, 42)}}};
    return t;
}

} // namespace DialogTemplates

} // namespace deskpanel
