#pragma once
#include "core/unitlink/UnitState.h"

#include <QListWidget>
#include <QMainWindow>

namespace deskpanel {

class DeskPanelApp;

// A plain window listing the 48 unit numbers with their live states.
class UnitListWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit UnitListWindow(QWidget* parent = nullptr);

    // Shows the application's project title and follows its units' states.
    void attach(DeskPanelApp& app);

    void showUnitState(int unitNumber, UnitState state);
    QString unitText(int unitNumber) const;

private:
    QListWidget* m_list;
};

} // namespace deskpanel
