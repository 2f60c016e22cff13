#include "ui/dialogs/EventTableModel.h"

#include <array>

namespace deskpanel {

namespace {

// The kinds the window's filter offers; any other kind is compared as text.
constexpr std::array<const char*, 7> KnownKinds{"ACTIVE", "OFFLINE",  "CONFLICT", "FAULT",
                                                "LOCAL",  "INACTIVE", ProgramKind};

} // namespace

std::uint8_t EventTableModel::kindCode(const std::string& kind)
{
    for (std::size_t i = 0; i < KnownKinds.size(); ++i)
        if (kind == KnownKinds[i])
            return static_cast<std::uint8_t>(i);
    return OtherKind;
}

EventTableModel::Key EventTableModel::keyOf(const UnitEvent& event)
{
    return {event.unit, kindCode(eventKind(event))};
}

bool EventTableModel::passes(const UnitEvent& event, Key key) const
{
    if (m_unit > 0 && key.unit != m_unit)
        return false;
    if (m_unit < 0 && key.unit != 0)
        return false;
    if (m_kind.empty())
        return true;
    if (m_kindCode != OtherKind)
        return key.kind == m_kindCode;
    return key.kind == OtherKind && eventKind(event) == m_kind;
}

void EventTableModel::addRunEvents(std::vector<UnitEvent> events)
{
    if (events.empty())
        return;
    std::vector<std::int64_t> added;
    for (UnitEvent& event : events) {
        const Key key = keyOf(event);
        if (passes(event, key))
            added.push_back(static_cast<std::int64_t>(m_run.size()));
        m_runKeys.push_back(key);
        m_run.push_back(std::move(event));
    }
    if (added.empty())
        return;
    // Shown at the top: the end of the bottom-up list.
    beginInsertRows({}, 0, static_cast<int>(added.size()) - 1);
    m_shown.insert(m_shown.end(), added.begin(), added.end());
    endInsertRows();
}

void EventTableModel::setHistory(std::vector<UnitEvent> events)
{
    beginResetModel();
    m_history = std::move(events);
    m_historyKeys.clear();
    m_historyKeys.reserve(m_history.size());
    for (const UnitEvent& event : m_history)
        m_historyKeys.push_back(keyOf(event));
    refilter();
    endResetModel();
}

void EventTableModel::setFilter(int unit, const std::string& kind)
{
    if (unit == m_unit && kind == m_kind)
        return;
    beginResetModel();
    m_unit = unit;
    m_kind = kind;
    m_kindCode = kindCode(kind);
    refilter();
    endResetModel();
}

void EventTableModel::refilter()
{
    m_shown.clear();
    for (std::size_t i = 0; i < m_history.size(); ++i)
        if (passes(m_history[i], m_historyKeys[i]))
            m_shown.push_back(~static_cast<std::int64_t>(i));
    for (std::size_t i = 0; i < m_run.size(); ++i)
        if (passes(m_run[i], m_runKeys[i]))
            m_shown.push_back(static_cast<std::int64_t>(i));
}

const UnitEvent& EventTableModel::eventAt(int row) const
{
    const std::int64_t at = m_shown[m_shown.size() - 1 - static_cast<std::size_t>(row)];
    return at >= 0 ? m_run[static_cast<std::size_t>(at)] : m_history[static_cast<std::size_t>(~at)];
}

int EventTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int EventTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    const UnitEvent& e = eventAt(index.row());
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
