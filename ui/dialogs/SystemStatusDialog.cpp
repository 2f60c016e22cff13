#include "ui/dialogs/SystemStatusDialog.h"

#include "core/host/Operator.h"
#include "core/model/Limits.h"
#include "core/unitlink/UnitLink.h"
#include "core/unitlink/UnitStatusReport.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QComboBox>
#include <QLabel>

namespace deskpanel {

SystemStatusDialog::SystemStatusDialog(const UnitLink& link, Operator& op, QWidget* parent)
    : GlassDialog(DialogTemplates::systemStatus(), QStringLiteral("System Status"), parent),
      m_link(link),
      m_operator(op)
{
    using namespace DialogControl;
    const char* labels[4] = {"RP8 Internal Temperatures", "RP8 Power Supply Voltages", "Networking", "Connections"};
    for (int row = 0; row < 4; ++row) {
        createLabel(StatusLabel + row, QString::fromLatin1(labels[row]));
        m_fields[row] = createLabel(StatusField + row, QStringLiteral("        "));
        m_fields[row]->setObjectName(QStringLiteral("field%1").arg(row));
        m_fields[row]->setContentsMargins(2, 0, 0, 0);
    }
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("units"));
    m_list->setGeometry(controlRect(StatusList));
    for (int unit = 1; unit <= MaxUnits; ++unit)
        if (link.table().findByNumber(unit))
            m_list->addItem(QString::fromStdString(systemStatusEntry(unit, link.slot(unit))), unit);
    m_list->setCurrentIndex(0);
    createButton(ControlId::Ok, QStringLiteral("OK"), ImageRegistry::key(162));
    m_fillTimer.setSingleShot(true);
    connect(&m_fillTimer, &QTimer::timeout, this, &SystemStatusDialog::fill);
    connect(m_list, &QComboBox::currentIndexChanged, this, [this] { m_fillTimer.start(FillDelayMs); });
    m_fillTimer.start(FillDelayMs);
}

int SystemStatusDialog::exec()
{
    if (m_link.unitCount() <= 0) {
        m_operator.message("There are no active Units to check");
        setResult(DialogResult::Cancel);
        return DialogResult::Cancel;
    }
    return GlassDialog::exec();
}

void SystemStatusDialog::fill()
{
    const int unit = m_list->currentData().toInt();
    const bool present = isValidUnitNumber(unit) && m_link.table().findByNumber(unit).has_value();
    if (!present) {
        // The unit has gone since the list was made: no verdicts of another unit stay.
        for (QLabel* field : m_fields)
            field->setText(QStringLiteral("        "));
        return;
    }
    const SystemStatusVerdicts v = systemStatusVerdicts(m_link.slot(unit), m_link.conflictPending());
    const bool normal[4] = {v.temperature, v.voltages, v.networking, v.connections};
    for (int row = 0; row < 4; ++row) {
        m_fields[row]->setText(normal[row] ? QStringLiteral("NORMAL") : QStringLiteral("FAULT"));
        m_fields[row]->setStyleSheet(normal[row] ? QStringLiteral("color: rgb(0, 170, 0);")
                                                 : QStringLiteral("color: rgb(255, 0, 0);"));
    }
}

} // namespace deskpanel
