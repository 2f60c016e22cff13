#include "ui/controls/DragTracker.h"

#include <algorithm>

namespace deskpanel {

int DragTracker::valueAt(int offsetPx, int travelPx, int range)
{
    if (travelPx <= 0 || range <= 0)
        return 0;
    const long long v = static_cast<long long>(offsetPx) * range / travelPx; // truncates towards zero
    return int(std::clamp<long long>(v, 0, range));
}

} // namespace deskpanel
