#pragma once
// The program's pictures, drawn as vectors at whatever size and pixel ratio
// they are asked for, so they stay crisp at 28 x 28 and on high-DPI screens.

#include <QIcon>

class QPainter;
class QRectF;

namespace zorbinta::qt {

// The toolbar's six pictures by their position in its list, then the panel's
// close glyph and the program icon.
enum class Picture {
    Search = 0,
    Save = 1,
    Back = 2,
    Providers = 3,
    Forward = 4,
    Update = 5,
    Close,
    Program
};

inline constexpr int kToolbarPictureSize = 28;

QIcon pictureIcon(Picture picture);
// Paints one picture into box; disabled pictures are drawn in greys.
void paintPicture(QPainter& painter, Picture picture, const QRectF& box, bool enabled = true);

}  // namespace zorbinta::qt
