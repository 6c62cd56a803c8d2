#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn at run time so that no image file ships:
// the banner of the main window and the window icon.
namespace zelvo::qt {

// width and height in device-independent pixels.
QPixmap BannerPicture(int width, int height, qreal pixelRatio = 1.0);
// 48, 32, 24 and 16 pixels square.
QIcon ProgramIcon();

}  // namespace zelvo::qt
