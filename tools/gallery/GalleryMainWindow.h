#pragma once
#include <QString>

namespace Gallery {
// The main window against a simulated rack, in the Underview ("window_main.png") and the
// Overview ("window_main_overview.png"), and at 120 pixels per inch
// ("window_main_120dpi.png"). Returns the number of files written.
int renderMainWindow(const QString& dir);
} // namespace Gallery
