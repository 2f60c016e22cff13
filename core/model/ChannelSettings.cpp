#include "core/model/ChannelSettings.h"

namespace deskpanel {

std::string linkGroupLabel(std::int32_t linkGroup)
{
    if (linkGroup <= 0)
        return "-";
    return std::to_string(linkGroup);
}

} // namespace deskpanel
