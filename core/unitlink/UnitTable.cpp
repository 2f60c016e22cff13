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

std::optional<std::size_t> UnitTable::findByMac(const std::array<std::uint8_t, 6>& mac) const
{
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].mac == mac)
            return i;
    return std::nullopt;
}

UnitTable::AddressCheck UnitTable::checkAddress(std::uint32_t address, const std::array<std::uint8_t, 6>& mac) const
{
    // A record is found by its number only when no earlier record carries that number.
    std::array<bool, 49> numberSeen{};
    AddressCheck check;
    for (const UnitRecord& record : m_records) {
        if (record.unitId < 1 || record.unitId > 48 || numberSeen[record.unitId])
            continue;
        numberSeen[record.unitId] = true;
        if (record.address.address == address) {
            check.held = true;
            if (record.mac != mac)
                check.heldByAnotherMac = true;
        }
    }
    return check;
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
