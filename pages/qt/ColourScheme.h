// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page follows the desktop's light or dark look. The engine has no
// setting of its own for the colour scheme its pages see; Chromium's
// --blink-settings=preferredColorScheme=0 (0 is dark, 1 light, as this
// engine counts) makes prefers-color-scheme: dark true, and the style sheet
// then recolours the page. The engine reads its flags once, at its start.

#include <QByteArray>
#include <QPalette>

namespace zorbinta::qt {

// Whether a palette is dark: its window lighter text on a darker ground.
bool isDarkPalette(const QPalette& palette);

// The engine's flags with the dark scheme added: appended to a
// --blink-settings switch already there (the engine takes only its last
// one), left as they are when they choose a scheme themselves.
QByteArray withDarkColourScheme(const QByteArray& flags);

// With a dark application palette, adds the dark scheme to the engine's
// flags (QTWEBENGINE_CHROMIUM_FLAGS, whatever else they hold). Runs once the
// application object exists, before the first page.
void followPaletteColourScheme();

}  // namespace zorbinta::qt
