// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/qt/ColourScheme.h"

#include <QGuiApplication>

namespace zorbinta::qt {
namespace {

constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kBlinkSettings[] = "--blink-settings=";
constexpr char kDarkScheme[] = "preferredColorScheme=0";

}  // namespace

bool isDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

QByteArray withDarkColourScheme(const QByteArray& flags) {
    if (flags.contains("preferredColorScheme=")) return flags;
    const qsizetype settings = flags.lastIndexOf(kBlinkSettings);
    if (settings >= 0) {
        QByteArray merged = flags;
        merged.insert(settings + qsizetype(sizeof(kBlinkSettings) - 1),
                      QByteArray(kDarkScheme) + ",");
        return merged;
    }
    return (flags.trimmed() + " " + kBlinkSettings + kDarkScheme).trimmed();
}

void followPaletteColourScheme() {
    if (!isDarkPalette(QGuiApplication::palette())) return;
    qputenv(kFlagsVariable, withDarkColourScheme(qgetenv(kFlagsVariable)));
}

}  // namespace zorbinta::qt
