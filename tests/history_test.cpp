#include "catalogue/core/History.h"

#include <gtest/gtest.h>

namespace zorbinta {
namespace {

TEST(History, BackAndForwardOverThreePages) {
    History h;
    EXPECT_TRUE(h.record("A"));
    EXPECT_FALSE(h.canGoBack());
    h.record("B");
    h.record("C");
    EXPECT_TRUE(h.canGoBack());

    EXPECT_EQ(h.back(), "B");
    EXPECT_FALSE(h.record("B"));  // the pending navigation is not recorded
    EXPECT_EQ(h.BackCount, 2);
    EXPECT_EQ(h.ForwardCount, 1);
    EXPECT_EQ(h.ForwardList[1], "C");

    EXPECT_EQ(h.back(), "A");
    h.record("A");
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.ForwardCount, 2);

    EXPECT_EQ(h.forward(), "B");
    h.record("B");
    EXPECT_EQ(h.BackCount, 2);
    EXPECT_EQ(h.ForwardCount, 1);

    h.record("D");  // a new page drops the forward list
    EXPECT_EQ(h.ForwardCount, 0);
    EXPECT_EQ(h.BackCount, 3);
    EXPECT_EQ(h.BackList[3], "D");
}

TEST(History, PastOneHundredEntriesTheOldestIsDropped) {
    History h;
    for (int i = 1; i <= 150; ++i) h.record("L" + std::to_string(i));
    EXPECT_EQ(h.BackCount, kHistorySize);
    EXPECT_EQ(h.BackList[1], "L51");
    EXPECT_EQ(h.BackList[100], "L150");
    for (int i = 0; i < 99; ++i) {
        ASSERT_TRUE(h.canGoBack());
        EXPECT_EQ(h.back(), "L" + std::to_string(149 - i));
        h.record("ignored");
    }
    EXPECT_FALSE(h.canGoBack());
    EXPECT_EQ(h.ForwardCount, 99);
    EXPECT_EQ(h.forward(), "L52");
}

TEST(History, ClearEmptiesEverything) {
    History h;
    h.record("A");
    h.record("B");
    h.back();
    h.clear();
    EXPECT_EQ(h.BackCount, 0);
    EXPECT_EQ(h.ForwardCount, 0);
    EXPECT_FALSE(h.BackPending);
    EXPECT_FALSE(h.ForwardPending);
}

}  // namespace
}  // namespace zorbinta
