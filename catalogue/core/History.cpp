// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/History.h"

#include <algorithm>

namespace zorbinta {

void History::clear() {
    BackCount = 0;
    ForwardCount = 0;
    BackPending = false;
    ForwardPending = false;
}

void pushHistoryEntry(HistoryList& list, int& count, const std::string& location) {
    if (count >= kHistorySize) {
        std::move(list.begin() + 2, list.begin() + kHistorySize + 1, list.begin() + 1);
        count = kHistorySize - 1;
    }
    ++count;
    list[count] = location;
}

}  // namespace zorbinta
