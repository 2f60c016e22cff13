#pragma once
#include <QPixmap>
#include <QString>

#include <utility>
#include <vector>

// The two strip views of a full rack of 48 units with live-looking meters, names, gains,
// switches and link groups, as the operator would see them.
namespace Gallery {
std::vector<std::pair<QString, QPixmap>> renderViews();
}
