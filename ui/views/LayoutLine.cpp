#include "ui/views/LayoutLine.h"

#include <cstdio>

namespace deskpanel {

QRect parseLayoutLine(const char* line)
{
    if (line == nullptr)
        return {};
    char name[64];
    int left = 0, top = 0, right = 0, bottom = 0;
    if (std::sscanf(line, "%63s %d %d %d %d", name, &left, &top, &right, &bottom) != 5)
        return {};
    if (right <= left || bottom <= top)
        return {};
    return QRect(left, top, right - left, bottom - top);
}

} // namespace deskpanel
