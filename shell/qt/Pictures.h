// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures: SVG files among the program's resources
// (shell/qt/pictures/, and the program icon shell/qt/zorbinta.svg), drawn at
// whatever size and pixel ratio they are asked for, so they stay crisp at
// 28 x 28 and on high-DPI screens. The SVG renderer is linked into the
// program, so no image plugin can be missing and leave a button blank.

#include <QIcon>

namespace zorbinta::qt {

// The toolbar's six pictures, the panel's close glyph and the program icon.
enum class Picture { Search, Save, Back, Providers, Forward, Update, Close, Program };

inline constexpr int kToolbarPictureSize = 28;

// Disabled, the picture is drawn in greys.
QIcon pictureIcon(Picture picture);

}  // namespace zorbinta::qt
