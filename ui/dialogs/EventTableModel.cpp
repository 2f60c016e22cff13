#include "ui/dialogs/EventTableModel.h"

namespace deskpanel {

void EventTableModel::addRunEvents(std::vector<UnitEvent> events)
{
    if (events.empty())
        return;
    beginInsertRows({}, 0, static_cast<int>(events.size()) - 1);
    m_run.insert(m_run.end(), std::make_move_iterator(events.begin()), std::make_move_iterator(events.end()));
    endInsertRows();
}

void EventTableModel::setHistory(std::vector<UnitEvent> events)
{
    if (!m_history.empty()) {
        beginRemoveRows({}, static_cast<int>(m_run.size()), static_cast<int>(m_run.size() + m_history.size()) - 1);
        m_history.clear();
        endRemoveRows();
    }
    if (events.empty())
        return;
    beginInsertRows({}, static_cast<int>(m_run.size()), static_cast<int>(m_run.size() + events.size()) - 1);
    m_history = std::move(events);
    endInsertRows();
}

const UnitEvent& EventTableModel::eventAt(int row) const
{
    const auto r = static_cast<std::size_t>(row);
    if (r < m_run.size())
        return m_run[m_run.size() - 1 - r];
    return m_history[m_history.size() - 1 - (r - m_run.size())];
}

int EventTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_run.size() + m_history.size());
}

int EventTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const UnitEvent& e = eventAt(index.row());
    if (role == UnitRole)
        return e.unit;
    if (role == KindRole)
        return QString::fromStdString(eventKind(e));
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TimeColumn: return QString::fromStdString(e.time);
    case UnitColumn: return e.unit == 0 ? QString() : QString::number(e.unit);
    case MacColumn: return QString::fromStdString(e.mac);
    case IpColumn: return QString::fromStdString(e.ip);
    case OldStateColumn: return QString::fromStdString(e.oldState);
    case NewStateColumn: return QString::fromStdString(e.newState);
    case TextColumn: return QString::fromStdString(e.text);
    default: return {};
    }
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* names[ColumnCount] = {"Time", "Unit", "MAC", "IP", "Old State", "New State", "Text"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

} // namespace deskpanel
