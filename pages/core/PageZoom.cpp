// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/PageZoom.h"

#include <algorithm>
#include <array>

namespace zorbinta {
namespace {

constexpr std::array<int, 15> kLevels = {25,  33,  50,  67,  75,  80,  90, 100,
                                         110, 125, 150, 175, 200, 250, 300};

}  // namespace

int steppedZoom(int current, ZoomStep step) {
    if (step == ZoomStep::In) {
        const auto next = std::upper_bound(kLevels.begin(), kLevels.end(), current);
        return next == kLevels.end() ? kLevels.back() : *next;
    }
    const auto at = std::lower_bound(kLevels.begin(), kLevels.end(), current);
    return at == kLevels.begin() ? kLevels.front() : *(at - 1);
}

}  // namespace zorbinta
