#include "core/unitlink/HealthCheck.h"

#include <gtest/gtest.h>

using namespace deskpanel;

// Each reading's normal range in raw counts, tried at both ends and one count outside,
// with the other four readings normal.
TEST(HealthCheck, BoundaryCountsOfTheFiveRanges)
{
    struct Range {
        const char* reading;
        std::size_t count; // position in the packet's health bytes
        int lowest;
        int highest;
        bool voltage;
    };
    const Range ranges[] = {
        {"48 V", 0, 92, 100, true}, {"24 V", 1, 110, 130, true},       {"5 V", 2, 40, 70, true},
        {"3.3 V", 3, 10, 60, true}, {"temperature", 4, 1, 150, false},
    };
    for (const Range& range : ranges) {
        for (const auto& [count, normal] : {std::pair{range.lowest - 1, false}, std::pair{range.lowest, true},
                                            std::pair{range.highest, true}, std::pair{range.highest + 1, false}}) {
            UnitReport report;
            report.healthCounts = {96, 120, 50, 33, 40};
            report.healthCounts[range.count] = static_cast<std::uint8_t>(count);
            const UnitHealth health = report.health();
            SCOPED_TRACE(std::string(range.reading) + " count " + std::to_string(count));
            EXPECT_EQ(healthNormal(health), normal);
            EXPECT_EQ(voltagesNormal(health), range.voltage ? normal : true);
            EXPECT_EQ(temperatureNormal(health), range.voltage ? true : normal);
        }
    }
}
