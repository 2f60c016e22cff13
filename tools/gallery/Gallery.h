#pragma once
#include <QString>

// Renders every picture of the image registry, every control in each of its states and
// every box to PNG files under `dir`, offscreen, for review. Returns the number of files
// written, or -1 when `dir` cannot be made.
namespace Gallery {
int renderAll(const QString& dir);
}
