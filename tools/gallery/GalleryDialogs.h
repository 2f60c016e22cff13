#pragma once
#include <QPixmap>
#include <QString>

#include <utility>
#include <vector>

// Every dialog of the program, filled with sample content, as "dialog_<name>" pictures.
namespace Gallery {
std::vector<std::pair<QString, QPixmap>> renderDialogs();
}
