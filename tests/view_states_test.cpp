// SPDX-License-Identifier: GPL-3.0-or-later
// Which pages come back scrolled as they were left, as a browser keeps it.

#include <gtest/gtest.h>

#include "pages/core/ViewStates.h"

namespace zorbinta {
namespace {

struct Move {
    const char* to;
    std::optional<HistoryStep> step;
    double scrolledAt;  // how far down the page being left is
    std::optional<double> restored;
};

TEST(ViewStatesTest, HistoryStepsReturnToWhereEachPageWasLeft) {
    constexpr auto kBack = HistoryStep::Back;
    constexpr auto kForward = HistoryStep::Forward;
    const std::vector<std::vector<Move>> cases = {
        // A, B, C; back to B and A; forward to B and C.
        {{"B", {}, 10, {}},
         {"C", {}, 20, {}},
         {"B", kBack, 30, 20},
         {"A", kBack, 21, 10},
         {"B", kForward, 11, 21},
         {"C", kForward, 22, 30}},
        // A new page drops what was ahead; the same location reached by a
        // link starts at its top.
        {{"B", {}, 10, {}}, {"A", kBack, 5, 10}, {"B", {}, 12, {}}, {"A", kBack, 7, 12}},
        // A step to a page not kept (the history was cleared) restores
        // nothing, and what was kept is dropped; the step back still works.
        {{"B", {}, 10, {}}, {"X", kBack, 3, {}}, {"B", kForward, 4, 3}, {"A", kBack, 1, {}}},
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        ViewStates states;
        std::string at = "A";
        for (std::size_t m = 0; m < cases[c].size(); ++m) {
            const Move& move = cases[c][m];
            const auto got = states.move(at, {0, move.scrolledAt}, move.to, move.step);
            const std::optional<ScrollOffset> want =
                move.restored ? std::optional<ScrollOffset>({0, *move.restored}) : std::nullopt;
            EXPECT_EQ(got, want) << "case " << c << " move " << m;
            at = move.to;
        }
    }
}

TEST(ViewStatesTest, KeepsAsManyPagesAsTheHistory) {
    ViewStates states;
    for (std::size_t k = 0; k <= ViewStates::kLimit; ++k) {
        states.move(std::to_string(k), {0, double(k)}, std::to_string(k + 1), std::nullopt);
    }
    std::string at = std::to_string(ViewStates::kLimit + 1);
    for (std::size_t k = ViewStates::kLimit; k >= 1; --k) {
        ASSERT_TRUE(states.move(at, {}, std::to_string(k), HistoryStep::Back).has_value());
        at = std::to_string(k);
    }
    EXPECT_FALSE(states.move(at, {}, "0", HistoryStep::Back).has_value());
}

}  // namespace
}  // namespace zorbinta
