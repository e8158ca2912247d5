// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's history of visited locations, among the catalogue's
// process-wide data. Entry BackCount of BackList is the page on show; entry
// ForwardCount of ForwardList is the one Forward shows next. The router
// records into it; Back and Forward of the main window move through it.

#include <array>
#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

using HistoryList = std::array<std::string, kHistorySize + 1>;  // 1..100

struct History {
    HistoryList BackList;
    HistoryList ForwardList;
    int BackCount = 0;
    int ForwardCount = 0;
    bool BackPending = false;
    bool ForwardPending = false;

    // Both counts 0, both pending flags cleared.
    void clear();
    bool canGoBack() const { return BackCount >= 2; }
    bool canGoForward() const { return ForwardCount >= 1; }
};

// Appends location to a list holding count entries. A full list forgets its
// oldest entry, so that recording goes on past 100 entries.
void pushHistoryEntry(HistoryList& list, int& count, const std::string& location);

}  // namespace zorbinta
