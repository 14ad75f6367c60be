#pragma once

#include <QIcon>
#include <QPixmap>

namespace markwright::ui {

// The program's picture, drawn from its SVG: as a window icon, and at a given size in pixels.
QIcon AppIcon();
QPixmap AppPicture(int size);

}  // namespace markwright::ui
