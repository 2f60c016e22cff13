#pragma once
#include "ui/controls/GlassDialog.h"
#include "ui/dialogs/EventTableModel.h"

#include <QTimer>

#include <cstdint>

class QComboBox;
class QLabel;
class QTableView;

namespace deskpanel {

class EventLog;
class FileDialogs;
class Operator;

// Setup > Diagnostics > "Event Log...": the unit events of this run and of the log file,
// newest first, growing while it is open; filtered by unit and by kind; "Export CSV..."
// writes the events the filters let through. Not modal: the operator keeps working.
class EventLogWindow : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int RefreshMs = 250;

    EventLogWindow(const EventLog& log, FileDialogs& dialogs, Operator& op, QWidget* parent = nullptr);

    // Takes in what the log has gained since the last look (the timer does it too).
    void refresh();
    // 0: every unit; -1: the program's own events; else one unit number.
    void setUnitFilter(int unit);
    // Empty: every kind; else a state name or "PROGRAM".
    void setKindFilter(const QString& kind);
    // The events shown, in the order shown.
    std::vector<UnitEvent> shownEvents() const;
    // Asks for a file and writes the shown events there as CSV.
    void exportCsv();

protected:
    void onCommand(int id) override;

private:
    void showCount();

    const EventLog& m_log;
    FileDialogs& m_dialogs;
    Operator& m_operator;
    EventTableModel m_model;
    int m_unitFilter = 0;
    QString m_kindFilter;
    QComboBox* m_units = nullptr;
    QComboBox* m_kinds = nullptr;
    QLabel* m_count = nullptr;
    QTableView* m_table = nullptr;
    QTimer m_refresh;
    std::uint64_t m_taken = 0;
    bool m_historyShown = false;
};

} // namespace deskpanel
