// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/ViewStates.h"

namespace zorbinta {

void ViewStates::push(std::deque<Entry>& stack, Entry entry) {
    stack.push_back(std::move(entry));
    if (stack.size() > kLimit) stack.pop_front();
}

std::optional<ScrollOffset> ViewStates::move(const std::string& leaving, ScrollOffset leftAt,
                                             const std::string& arriving,
                                             std::optional<HistoryStep> step) {
    Entry left{leaving, leftAt};
    if (!step) {
        push(back_, std::move(left));
        forward_.clear();
        return std::nullopt;
    }
    std::deque<Entry>& from = *step == HistoryStep::Back ? back_ : forward_;
    std::deque<Entry>& to = *step == HistoryStep::Back ? forward_ : back_;
    // A page the history returns to that is not the one kept here (the
    // history was cleared meanwhile) starts at its top, and what was kept
    // before no longer matches the history at all.
    if (from.empty() || from.back().location != arriving) {
        clear();
        push(to, std::move(left));
        return std::nullopt;
    }
    const ScrollOffset found = from.back().scroll;
    from.pop_back();
    push(to, std::move(left));
    return found;
}

void ViewStates::clear() {
    back_.clear();
    forward_.clear();
}

}  // namespace zorbinta
