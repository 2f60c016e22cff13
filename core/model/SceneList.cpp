#include "core/model/SceneList.h"

#include "core/model/Text.h"

#include <algorithm>

namespace deskpanel {

const SceneList::Entry& SceneList::entry(int position) const
{
    static const Entry none;
    return isStoredPosition(position) ? m_entries[static_cast<std::size_t>(position - 1)] : none;
}

SceneList::Entry& SceneList::entry(int position)
{
    if (isStoredPosition(position))
        return m_entries[static_cast<std::size_t>(position - 1)];
    m_noEntry = Entry{};
    return m_noEntry;
}

bool SceneList::append(Scene scene)
{
    if (isFull())
        return false;
    Entry e;
    e.scene = std::move(scene);
    e.shownNumber = count();
    e.id = m_nextId++;
    m_entries.push_back(std::move(e));
    return true;
}

void SceneList::removeAt(int position)
{
    if (!isStoredPosition(position))
        return;
    const int last = count() - 1;
    m_leftover[static_cast<std::size_t>(last)] = {scene(last).name, scene(last).notes};
    m_entries.erase(m_entries.begin() + (position - 1));
    renumber();
}

void SceneList::clear()
{
    m_entries.clear();
    m_leftover.fill(SceneText{});
}

std::string SceneList::displayText(int position) const
{
    if (position == 0)
        return BlankSceneText;
    if (!isStoredPosition(position))
        return {};
    return format("  %03d %s", position, scene(position).name.c_str());
}

std::string SceneList::displayLine(int position) const
{
    if (position == 0)
        return BlankSceneText;
    if (!isStoredPosition(position))
        return {};
    const Entry& e = entry(position);
    return format("  %03d %s%s", e.shownNumber, e.scene.name.c_str(), e.modified ? "*" : "");
}

std::vector<std::string> SceneList::displayLines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count()));
    for (int p = 0; p < count(); ++p)
        lines.push_back(displayLine(p));
    return lines;
}

void SceneList::renumber()
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i].shownNumber = static_cast<int>(i) + 1;
}

bool SceneList::isModified(int position) const
{
    return isStoredPosition(position) && entry(position).modified;
}

void SceneList::setModified(int position)
{
    if (isStoredPosition(position))
        entry(position).modified = true;
}

void SceneList::clearModifiedMarkers()
{
    for (auto& e : m_entries)
        e.modified = false;
}

void SceneList::swapWithNext(int position)
{
    if (!isStoredPosition(position) || !isStoredPosition(position + 1))
        return;
    std::swap(entry(position), entry(position + 1));
}

SceneText SceneList::heldText(int position) const
{
    if (isStoredPosition(position))
        return {scene(position).name, scene(position).notes};
    if (position >= 0 && position < MaxSceneEntries)
        return m_leftover[static_cast<std::size_t>(position)];
    return {};
}

std::vector<std::uint64_t> SceneList::order() const
{
    std::vector<std::uint64_t> ids;
    ids.reserve(m_entries.size());
    for (const auto& e : m_entries)
        ids.push_back(e.id);
    return ids;
}

void SceneList::restoreOrder(const std::vector<std::uint64_t>& order)
{
    auto rank = [&](std::uint64_t id) {
        auto it = std::find(order.begin(), order.end(), id);
        return static_cast<std::size_t>(it - order.begin());
    };
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [&](const Entry& a, const Entry& b) { return rank(a.id) < rank(b.id); });
}

int SceneList::positionOf(std::uint64_t id) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int SceneList::findByName(const std::string& name) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].scene.name == name)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string SceneList::activeLabel(int position)
{
    return format("Active Scene: %03d", position);
}

} // namespace deskpanel
