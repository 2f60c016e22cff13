#include "core/unitlink/UnitTable.h"

#include <algorithm>

namespace deskpanel {

void UnitTable::insert(UnitRecord record)
{
    auto position = std::find_if(m_records.begin(), m_records.end(),
                                 [&](const UnitRecord& existing) { return existing.mac >= record.mac; });
    m_records.insert(position, std::move(record));
}

void UnitTable::removeAt(std::size_t index)
{
    if (index < m_records.size())
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> UnitTable::findByNumber(int unitNumber) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].unitId == unitNumber)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> UnitTable::findByMacText(const std::string& text) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].macText() == text)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> UnitTable::findByChannel(int channel) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const int u = m_records[i].imageUnitNumber();
        if (8 * u - 8 <= channel && channel <= 8 * u - 1)
            return i;
    }
    return std::nullopt;
}

} // namespace deskpanel
