#pragma once
#include "core/model/ChannelSettings.h"

#include <vector>

namespace deskpanel {

// The inputs that move with channel c: empty when c is in no group or its Link switch
// is off; otherwise every channel of c's group whose Link switch is on, c included, in
// ascending order.
struct LinkedSet {
    std::vector<int> members;
    // Least and greatest over the members; 0 when empty.
    int minPosition = 0;
    int maxPosition = 0;
    int minReference = 0; // over gainAux
    int maxReference = 0;

    bool empty() const { return members.empty(); }

    static LinkedSet of(const ChannelSettingsArray& live, int channel);
};

} // namespace deskpanel
