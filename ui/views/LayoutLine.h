#pragma once
#include <QRect>

namespace deskpanel {

// One stored layout line, "Name left top right bottom", read with "%s %d %d %d %d" (blanks
// and tabs separate the fields; the name is only skipped). Right and bottom are the first
// column and row outside the rectangle. A line that does not hold four numbers gives an
// empty rectangle, so a damaged table leaves its part unpainted instead of misplacing it.
QRect parseLayoutLine(const char* line);

} // namespace deskpanel
