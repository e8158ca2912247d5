// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/History.h"

#include <gtest/gtest.h>

#include "router/core/Router.h"
#include "shell/core/HistoryMoves.h"

namespace zorbinta {
namespace {

TEST(History, BackAndForwardOverThreePages) {
    History h;
    EXPECT_TRUE(recordNavigation(h, "A"));
    EXPECT_FALSE(h.canGoBack());
    recordNavigation(h, "B");
    recordNavigation(h, "C");
    EXPECT_TRUE(h.canGoBack());

    EXPECT_EQ(historyBack(h), "B");
    EXPECT_FALSE(recordNavigation(h, "B"));  // the pending navigation is not recorded
    EXPECT_EQ(h.BackCount, 2);
    EXPECT_EQ(h.ForwardCount, 1);
    EXPECT_EQ(h.ForwardList[1], "C");

    EXPECT_EQ(historyBack(h), "A");
    recordNavigation(h, "A");
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.ForwardCount, 2);

    EXPECT_EQ(historyForward(h), "B");
    recordNavigation(h, "B");
    EXPECT_EQ(h.BackCount, 2);
    EXPECT_EQ(h.ForwardCount, 1);

    recordNavigation(h, "D");  // a new page drops the forward list
    EXPECT_EQ(h.ForwardCount, 0);
    EXPECT_EQ(h.BackCount, 3);
    EXPECT_EQ(h.BackList[3], "D");
}

TEST(History, PastOneHundredEntriesTheOldestIsDropped) {
    History h;
    for (int i = 1; i <= 150; ++i) recordNavigation(h, "L" + std::to_string(i));
    EXPECT_EQ(h.BackCount, kHistorySize);
    EXPECT_EQ(h.BackList[1], "L51");
    EXPECT_EQ(h.BackList[100], "L150");
    for (int i = 0; i < 99; ++i) {
        ASSERT_TRUE(h.canGoBack());
        EXPECT_EQ(historyBack(h), "L" + std::to_string(149 - i));
        recordNavigation(h, "ignored");
    }
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.ForwardCount, 99);
    EXPECT_EQ(historyForward(h), "L52");
}

TEST(History, ClearEmptiesEverything) {
    History h;
    recordNavigation(h, "A");
    recordNavigation(h, "B");
    historyBack(h);
    h.clear();
    EXPECT_EQ(h.BackCount, 0);
    EXPECT_EQ(h.ForwardCount, 0);
    EXPECT_FALSE(h.BackPending);
    EXPECT_FALSE(h.ForwardPending);
}

}  // namespace
}  // namespace zorbinta
