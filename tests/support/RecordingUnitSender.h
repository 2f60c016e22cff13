#pragma once
#include "core/host/UnitSender.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace deskpanel::test {

// Stands in for the unit link: records every parameter sent and every full resend, in
// order. Units listed in `present` are on the network.
class RecordingUnitSender : public UnitSender {
public:
    struct Sent {
        std::string name; // a parameter name, or "fullResend"
        double value = 0;
        int unit = 0;
        int input = 0;
        bool operator==(const Sent&) const = default;
    };

    void sendParameter(const std::string& name, double value, int unitNumber, int input) override
    {
        if (!present.count(unitNumber))
            return;
        sent.push_back({name, value, unitNumber, input});
        if (onSend)
            onSend(sent.back()); // a box the link would open, say
    }
    void fullResend() override { sent.push_back({"fullResend", 0, 0, 0}); }
    bool isUnitPresent(int unitNumber) const override { return present.count(unitNumber) != 0; }
    int unitCount() const override { return static_cast<int>(present.size()); }
    bool reducedGainRange() const override { return reduced; }
    std::vector<int> unitNumbersInTableOrder() const override
    {
        return tableOrder.empty() ? UnitSender::unitNumbersInTableOrder() : tableOrder;
    }

    std::set<int> present;
    bool reduced = false;
    // The link's table order when a test sets one; otherwise ascending numbers.
    std::vector<int> tableOrder;
    std::vector<Sent> sent;
    std::function<void(const Sent&)> onSend;
};

} // namespace deskpanel::test
