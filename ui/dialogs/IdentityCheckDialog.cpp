#include "ui/dialogs/IdentityCheckDialog.h"

#include "core/host/Operator.h"
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/Text.h"
#include "core/unitlink/UnitLink.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QComboBox>
#include <QPainter>

namespace deskpanel {

namespace {
const char* const noUnitsText = "NO UNITS, ACTIVE OR OTHERWISE";
const char* const noActiveUnitsText = "There are no active Units to check";
} // namespace

IdentityCheckDialog::IdentityCheckDialog(const UnitLink& link, UnitSender& units, ChannelControl& channels,
                                         Project& project, Operator& op, QWidget* parent)
    : GlassDialog(DialogTemplates::identityCheck(), QStringLiteral("Unit Identity Check"), parent),
      m_link(link),
      m_units(units),
      m_channels(channels),
      m_project(project),
      m_operator(op)
{
    using namespace DialogControl;
    createLabel(SelectLabel, QStringLiteral("Select Unit"));
    m_list = new QComboBox(this);
    setBuddy(SelectLabel, m_list);
    m_list->setObjectName(QStringLiteral("units"));
    m_list->setGeometry(controlRect(StatusList));
    // Each entry carries its unit number; 0 for the entry that says there are none.
    for (int unit = 1; unit <= MaxUnits; ++unit) {
        if (!link.table().findByNumber(unit) || link.state(unit) == UnitState::INACTIVE)
            continue;
        const std::string& name = project.units[static_cast<std::size_t>(unit - 1)].name;
        m_list->addItem(QString::fromStdString(format("Unit %d: %s", unit, name.c_str())), unit);
    }
    if (m_list->count() == 0)
        m_list->addItem(QString::fromLatin1(noUnitsText), 0);
    m_list->setCurrentIndex(0);
    createButton(Check, QStringLiteral("&Check"), ImageRegistry::key(162));
    createButton(ControlId::Ok, QStringLiteral("OK"), ImageRegistry::key(162));
    m_end.setSingleShot(true);
    connect(&m_end, &QTimer::timeout, this, &IdentityCheckDialog::finish);
    connect(&m_toggle, &QTimer::timeout, this, &IdentityCheckDialog::toggle);
}

IdentityCheckDialog::~IdentityCheckDialog()
{
    // Closing always ends the check; this only matters if the dialog goes without closing.
    if (isChecking())
        stopAndRestore();
}

void IdentityCheckDialog::onCommand(int id)
{
    if (id == DialogControl::Check) {
        check();
    } else if (id == ControlId::Ok) {
        if (isChecking())
            stopAndRestore();
        m_channels.raiseDialogJustClosed();
        done(DialogResult::Ok);
    }
}

void IdentityCheckDialog::check()
{
    const int unit = m_list->currentData().toInt();
    if (m_units.unitCount() <= 0 || unit == 0) {
        m_operator.message(noActiveUnitsText);
        return;
    }
    if (!isValidUnitNumber(unit) || !m_link.table().findByNumber(unit)) {
        m_operator.message(format("Unit %d is inactive or off-line.", unit));
        return;
    }
    // A new check takes over from a running one, which puts its unit back first.
    if (isChecking())
        stopAndRestore();
    // The check is an operation of its own: not inside a recall's or a save's box.
    m_gateHold = m_channels.gate().enter("Identity check");
    if (!m_gateHold) {
        m_operator.beep();
        return;
    }
    m_saved = UnitSettingsHolder();
    m_saved.save(m_project.live, unit);
    m_channels.setStripsHeld(true);
    m_unitUnderCheck = unit;
    m_nextValueOn = true;
    m_end.start(CheckMs);
    m_toggle.start(ToggleMs);
}

void IdentityCheckDialog::toggle()
{
    const double value = m_nextValueOn ? 1.0 : 0.0;
    m_nextValueOn = !m_nextValueOn;
    if (sendAll(value))
        setIndicator(value != 0.0);
}

void IdentityCheckDialog::finish()
{
    m_end.stop();
    m_toggle.stop();
    if (sendAll(0.0))
        stopAndRestore();
}

// A failed send opens a box, and timers run while it is open: the check may end or
// start again meanwhile. The rest of the round is then dropped, so nothing is switched
// after the unit has been restored. False when that happened.
bool IdentityCheckDialog::sendAll(double value)
{
    const int unit = m_unitUnderCheck;
    for (int input = 1; input <= ChannelsPerUnit; ++input) {
        for (const char* name : SwitchOrder) {
            m_units.sendParameter(name, value, unit, input);
            if (m_unitUnderCheck != unit)
                return false;
        }
    }
    return true;
}

void IdentityCheckDialog::stopAndRestore()
{
    m_end.stop();
    m_toggle.stop();
    const int unit = m_unitUnderCheck;
    m_unitUnderCheck = 0;
    setIndicator(false);
    m_channels.setStripsHeld(false);
    // A copy: a send may open an error box, and the copy must outlive what happens then.
    const UnitSettingsHolder::Inputs saved = m_saved.held();
    m_channels.restoreUnitSettingsFrom(unit, saved);
    m_gateHold.reset();
}

void IdentityCheckDialog::setIndicator(bool lit)
{
    m_lit = lit;
    update(controlRect(DialogControl::Indicator).adjusted(-6, -6, 6, 6));
}

void IdentityCheckDialog::paintEvent(QPaintEvent* event)
{
    GlassDialog::paintEvent(event);
    QPainter p(this);
    const QRect slot = controlRect(DialogControl::Indicator);
    // The 20 x 20 picture centred on its place.
    const QRect led(slot.center() - QPoint(10, 10), QSize(20, 20));
    ImageRegistry::instance().draw(p, m_lit ? QStringLiteral("RED_LED_ON_16") : QStringLiteral("RED_LED_OFF_16"), led);
}

} // namespace deskpanel
