#include "ui/views/UnitListWindow.h"

#include "app/DeskPanelApp.h"
#include "core/model/Limits.h"

namespace deskpanel {

UnitListWindow::UnitListWindow(QWidget* parent) : QMainWindow(parent), m_list(new QListWidget(this))
{
    setCentralWidget(m_list);
    for (int unit = 1; unit <= MaxUnits; ++unit)
        m_list->addItem(QString());
    for (int unit = 1; unit <= MaxUnits; ++unit)
        showUnitState(unit, UnitState::INACTIVE);
    resize(360, 640);
}

void UnitListWindow::attach(DeskPanelApp& app)
{
    setWindowTitle(QString::fromStdString(app.project().windowTitle()));
    app.setUnitStateListener([this](int unitNumber, UnitState state) { showUnitState(unitNumber, state); });
}

void UnitListWindow::showUnitState(int unitNumber, UnitState state)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    m_list->item(unitNumber - 1)->setText(QStringLiteral("Unit %1: %2").arg(unitNumber).arg(unitStateName(state)));
}

QString UnitListWindow::unitText(int unitNumber) const
{
    return isValidUnitNumber(unitNumber) ? m_list->item(unitNumber - 1)->text() : QString();
}

} // namespace deskpanel
