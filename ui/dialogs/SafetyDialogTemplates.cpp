#include "ui/dialogs/SafetyDialogTemplates.h"

namespace deskpanel::SafetyTemplates {

namespace {
using namespace SafetyControl;
const QString microsoftSansSerif = QStringLiteral("Microsoft Sans Serif");

// The left corner picture and the header strip every dialog of the program has.
std::vector<DialogTemplate::Control> frame(int width)
{
    return {{ControlId::LeftCorner, QRect(0, 0, 18, 18)}, {ControlId::Header, QRect(33, 0, width - 42, 18)}};
}

DialogTemplate make(const char* name, QSize size, std::vector<DialogTemplate::Control> controls)
{
    DialogTemplate t{QString::fromLatin1(name), size, microsoftSansSerif, 80, frame(size.width())};
    t.controls.insert(t.controls.end(), controls.begin(), controls.end());
    return t;
}
} // namespace

const DialogTemplate& changeList()
{
    static const DialogTemplate t = make("changelist", QSize(300, 196),
                                         {{Heading, QRect(12, 24, 276, 10)},
                                          {ChangeLines, QRect(12, 36, 276, 132)},
                                          {ControlId::Ok, QRect(100, 176, 45, 13)},
                                          {ControlId::Cancel, QRect(155, 176, 45, 13)}});
    return t;
}

const DialogTemplate& recallSafes()
{
    static const DialogTemplate t = make("recallsafes", QSize(424, 150),
                                         {{SafesArea, QRect(14, 22, 396, 96)},
                                          {SafesScrollBar, QRect(137, 120, 270, 10)},
                                          {ControlId::Ok, QRect(15, 130, 35, 13)},
                                          {ControlId::Cancel, QRect(58, 130, 35, 13)}});
    return t;
}

const DialogTemplate& recallAndSafety()
{
    static const DialogTemplate t = make("recallsafety", QSize(170, 86),
                                         {{PreviewRecall, QRect(16, 28, 140, 10)},
                                          {Confirm48V, QRect(16, 44, 140, 10)},
                                          {ControlId::Ok, QRect(40, 64, 40, 13)},
                                          {ControlId::Cancel, QRect(90, 64, 40, 13)}});
    return t;
}

} // namespace deskpanel::SafetyTemplates
