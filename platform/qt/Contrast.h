// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far apart two colours stand for the eye, as the accessibility
// guidelines measure it (WCAG 2): text wants 4.5 : 1 against its background.

#include <QColor>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace zorbinta::qt {

inline constexpr double kTextContrast = 4.5;

inline double relativeLuminance(const QColor& colour) {
    const auto linear = [](float v) {
        return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

inline double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dark palette: light text on a dark window.
inline bool isDark(const QPalette& palette) {
    return relativeLuminance(palette.color(QPalette::Window)) <
           relativeLuminance(palette.color(QPalette::WindowText));
}

}  // namespace zorbinta::qt
