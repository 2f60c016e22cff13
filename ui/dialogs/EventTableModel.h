#pragma once
#include "core/records/UnitEvent.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

namespace deskpanel {

// The events the event window shows, newest first: this run's events above the ones the
// log file held when the program started, filtered by unit and kind. The filter reads a
// unit and a kind code kept beside each event when it comes in, so changing it over a
// full log is one pass over two small columns, with no text made or compared per row.
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

    using QAbstractTableModel::QAbstractTableModel;

    // Newer events of this run (oldest first), shown at the top.
    void addRunEvents(std::vector<UnitEvent> events);
    // The file's earlier events (oldest first), shown below the run's.
    void setHistory(std::vector<UnitEvent> events);
    // `unit` 0: every unit; -1: the program's own events; else one unit number. `kind`
    // empty: every kind; else a state name or "PROGRAM".
    void setFilter(int unit, const std::string& kind);
    // The event shown in `row`.
    const UnitEvent& eventAt(int row) const;
    // Every event held, shown or not.
    int totalCount() const { return static_cast<int>(m_run.size() + m_history.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // What the filter reads of one event.
    struct Key {
        int unit;
        std::uint8_t kind; // a code for a known kind, OtherKind for any other
    };
    static constexpr std::uint8_t OtherKind = 0xFF;
    static std::uint8_t kindCode(const std::string& kind);
    static Key keyOf(const UnitEvent& event);
    bool passes(const UnitEvent& event, Key key) const;
    // The shown rows from the bottom up: history events as ~index, run events as index,
    // so new run events are appended and a row never needs renumbering.
    void refilter();

    std::vector<UnitEvent> m_run;
    std::vector<Key> m_runKeys;
    std::vector<UnitEvent> m_history;
    std::vector<Key> m_historyKeys;
    std::vector<std::int64_t> m_shown;
    int m_unit = 0;
    std::string m_kind;
    std::uint8_t m_kindCode = OtherKind;
};

} // namespace deskpanel
