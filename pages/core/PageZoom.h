// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pane's zoom, in percent of the pages' own size, stepped as web
// browsers step it. It lasts for the run; nothing is saved.

namespace zorbinta {

inline constexpr int kNormalZoom = 100;

enum class ZoomStep { In, Out };

// The level after current in the direction asked; the smallest and the
// largest level stay where they are. A level between steps goes to the next
// step.
int steppedZoom(int current, ZoomStep step);

}  // namespace zorbinta
