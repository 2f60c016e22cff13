#pragma once
#include "core/unitlink/UnitState.h"

#include <optional>
#include <vector>

namespace deskpanel {

// The units currently heard, in ascending order of MAC address. Searched linearly: it
// never holds more than a few dozen records. Indexes and pointers into it are only good
// until the next insert or removal.
class UnitTable {
public:
    // Inserted before the first record whose MAC is equal or greater.
    void insert(UnitRecord record);
    void removeAt(std::size_t index);

    std::size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    UnitRecord& at(std::size_t index) { return m_records[index]; }
    const UnitRecord& at(std::size_t index) const { return m_records[index]; }

    // The first record in table order whose unitId is the number.
    std::optional<std::size_t> findByNumber(int unitNumber) const;
    // The first record with this MAC (records are matched by MAC text, and two MACs
    // have the same text exactly when their bytes are equal).
    std::optional<std::size_t> findByMac(const std::array<std::uint8_t, 6>& mac) const;
    // Whether some record that a lookup by unit number 1..48 would find comes from this
    // address, and whether one of those has another MAC than `mac`.
    struct AddressCheck {
        bool held = false;
        bool heldByAnotherMac = false;
    };
    AddressCheck checkAddress(std::uint32_t address, const std::array<std::uint8_t, 6>& mac) const;
    // The first record whose image carries the unit number that holds channel c.
    std::optional<std::size_t> findByChannel(int channel) const;

private:
    std::vector<UnitRecord> m_records;
};

} // namespace deskpanel
