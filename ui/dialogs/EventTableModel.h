#pragma once
#include "core/records/UnitEvent.h"

#include <QAbstractTableModel>

#include <vector>

namespace deskpanel {

// The events the event window shows, newest first: this run's events above the ones the
// log file held when the program started.
class EventTableModel : public QAbstractTableModel {
public:
    enum Column {
        TimeColumn,
        UnitColumn,
        MacColumn,
        IpColumn,
        OldStateColumn,
        NewStateColumn,
        TextColumn,
        ColumnCount
    };
    // The roles the filter reads.
    static constexpr int UnitRole = Qt::UserRole + 1;
    static constexpr int KindRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    // Newer events of this run (oldest first), shown at the top.
    void addRunEvents(std::vector<UnitEvent> events);
    // The file's earlier events (oldest first), shown below the run's.
    void setHistory(std::vector<UnitEvent> events);
    const UnitEvent& eventAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<UnitEvent> m_run;
    std::vector<UnitEvent> m_history;
};

} // namespace deskpanel
