// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How each page was viewed when it was left (its scroll position), kept the
// way a browser keeps it: one entry for every page behind Back and every
// page ahead of Forward, so that returning to a page shows it as it was
// left, while a page reached any other way starts at its top.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "pages/core/BrowserPane.h"

namespace zorbinta {

struct ScrollOffset {
    double x = 0;
    double y = 0;
    bool operator==(const ScrollOffset&) const = default;
};

class ViewStates {
public:
    // As many as the history holds; older ones are dropped.
    static constexpr std::size_t kLimit = 100;

    // The page at leaving, scrolled to leftAt, is left for arriving, by a
    // step through the history or (no step) by any other navigation. Gives
    // where arriving was left, when the step returns to it.
    std::optional<ScrollOffset> move(const std::string& leaving, ScrollOffset leftAt,
                                     const std::string& arriving, std::optional<HistoryStep> step);

    // Nothing is known any more (the history was cleared).
    void clear();

private:
    struct Entry {
        std::string location;
        ScrollOffset scroll;
    };
    static void push(std::deque<Entry>& stack, Entry entry);

    std::deque<Entry> back_;
    std::deque<Entry> forward_;
};

}  // namespace zorbinta
