#pragma once
#include "core/model/MeterListener.h"

#include <vector>

namespace deskpanel::test {

// Records every meter repaint request in order.
class RecordingMeterListener : public MeterListener {
public:
    struct Change {
        int channel;
        MeterState meter;
    };

    void meterChanged(int channel, const MeterState& meter) override { changes.push_back({channel, meter}); }
    void readoutMarksCleared() override { ++marksCleared; }

    std::vector<Change> changes;
    int marksCleared = 0;
};

} // namespace deskpanel::test
