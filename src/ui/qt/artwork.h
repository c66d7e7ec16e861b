#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn in code: the window icon and the two magnifiers of the
// filter button.
namespace shareseek::artwork {

QIcon windowIcon();              // 48 x 48
QPixmap magnifier(bool hovered); // 20 x 16

} // namespace shareseek::artwork
