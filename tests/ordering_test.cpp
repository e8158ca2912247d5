// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/Win1251.h"
#include "pages/core/Ordering.h"

namespace zorbinta {
namespace {

// The selection passes the orderings must agree with, wherever they place
// every row: one pass per position, the first strictly smallest (or greatest)
// unplaced key wins.
std::vector<int> selectByNumber(const std::vector<double>& keys) {
    std::vector<double> w = keys;
    std::vector<int> order;
    for (size_t k = 0; k < w.size(); ++k) {
        double least = 999999.0;
        size_t chosen = 0;
        for (size_t i = 0; i < w.size(); ++i) {
            if (w[i] < least) {
                least = w[i];
                chosen = i;
            }
        }
        w[chosen] = 999999.0;
        order.push_back(static_cast<int>(chosen) + 1);
    }
    return order;
}

std::vector<int> selectByText(const std::vector<std::string>& keys) {
    std::vector<std::string> w = keys;
    std::vector<int> order;
    for (size_t k = 0; k < w.size(); ++k) {
        std::string greatest;
        size_t chosen = 0;
        for (size_t i = 0; i < w.size(); ++i) {
            if (compareCp1251(w[i], greatest) > 0) {
                greatest = w[i];
                chosen = i;
            }
        }
        w[chosen].clear();
        order.push_back(static_cast<int>(chosen) + 1);
    }
    return order;
}

std::vector<int> orderIndex(const Catalogue& c, int n) {
    return {c.OrderIndex.begin() + 1, c.OrderIndex.begin() + 1 + n};
}

void putNumbers(Catalogue& c, const std::vector<double>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
        c.number(PlanTable, slot::DiskMb, static_cast<int>(i) + 1) = keys[i];
    }
}

void putTexts(Catalogue& c, const std::vector<std::string>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
        c.text(ProviderTable, slot::WebAddress, static_cast<int>(i) + 1) = keys[i];
    }
}

TEST(Ordering, ExamplesByNumber) {
    struct Case {
        std::vector<double> keys;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{5}, {1}},
        {{100, 50, 100, 20}, {4, 2, 1, 3}},
        {{99999, 5000}, {2, 1}},
        {{-3, 0, -3.5, 7.25, 0}, {3, 1, 2, 5, 4}},
    };
    for (const Case& c : cases) {
        Catalogue cat;
        putNumbers(cat, c.keys);
        OrderByNumber(cat, PlanTable, slot::DiskMb, static_cast<int>(c.keys.size()));
        EXPECT_EQ(orderIndex(cat, static_cast<int>(c.keys.size())), c.expected);
    }
}

TEST(Ordering, ExamplesByText) {
    struct Case {
        std::vector<std::string> keys;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{"ab", "abc", "Zeta"}, {2, 1, 3}},
        // Cyrillic after Latin in the code page, so it comes first here.
        {{"zzz.ru", "яндекс", "Abc"}, {2, 1, 3}},
        // Ё and ё stand before every other Cyrillic letter.
        {{"ёж", "аист", "Ёлка", "Яма"}, {2, 4, 1, 3}},
        {{"same", "same", "other"}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        Catalogue cat;
        putTexts(cat, c.keys);
        OrderByText(cat, ProviderTable, slot::WebAddress, static_cast<int>(c.keys.size()));
        EXPECT_EQ(orderIndex(cat, static_cast<int>(c.keys.size())), c.expected);
    }
}

TEST(Ordering, AgreesWithSelectionPassesOnRandomTables) {
    std::mt19937 random(20240601);
    const std::vector<double> values = {0, 1, 2.5, 10, 10, 100, 5000, 99999, -1, 999998.5};
    const std::vector<std::string> words = {"a",      "ab",      "abc",     "Zeta", "zeta",
                                            "яблоко", "Яблоко",  "ёлка",    "Ёлка", "ель",
                                            "1host",  "host.ru", "host.ru", "ж",    "A b"};
    for (int round = 0; round < 200; ++round) {
        const int n = 1 + static_cast<int>(random() % 60);
        std::vector<double> numbers;
        std::vector<std::string> texts;
        for (int i = 0; i < n; ++i) {
            numbers.push_back(values[random() % values.size()]);
            std::string text = words[random() % words.size()];
            if (random() % 3 == 0) text += words[random() % words.size()];
            texts.push_back(text);
        }
        Catalogue cat;
        putNumbers(cat, numbers);
        putTexts(cat, texts);
        OrderByNumber(cat, PlanTable, slot::DiskMb, n);
        ASSERT_EQ(orderIndex(cat, n), selectByNumber(numbers)) << "round " << round;
        OrderByText(cat, ProviderTable, slot::WebAddress, n);
        ASSERT_EQ(orderIndex(cat, n), selectByText(texts)) << "round " << round;
    }
}

TEST(Ordering, KeysTheSelectionCannotPlaceFollowInRowOrder) {
    Catalogue cat;
    putNumbers(cat, {999999, 3, 1e9, 1, 999999});
    OrderByNumber(cat, PlanTable, slot::DiskMb, 5);
    EXPECT_EQ(orderIndex(cat, 5), (std::vector<int>{4, 2, 1, 3, 5}));

    putTexts(cat, {"", "b", "", "a"});
    OrderByText(cat, ProviderTable, slot::WebAddress, 4);
    EXPECT_EQ(orderIndex(cat, 4), (std::vector<int>{2, 4, 1, 3}));

    putTexts(cat, {"", "", ""});
    OrderByText(cat, ProviderTable, slot::WebAddress, 3);
    EXPECT_EQ(orderIndex(cat, 3), (std::vector<int>{1, 2, 3}));
}

TEST(Ordering, LeavesEntriesBeyondNAndEmptyCallsAlone) {
    Catalogue cat;
    putNumbers(cat, {4, 3, 2, 1});
    OrderByNumber(cat, PlanTable, slot::DiskMb, 4);
    EXPECT_EQ(orderIndex(cat, 4), (std::vector<int>{4, 3, 2, 1}));

    OrderByNumber(cat, PlanTable, slot::DiskMb, 2);
    EXPECT_EQ(orderIndex(cat, 4), (std::vector<int>{2, 1, 2, 1}));

    for (const int n : {0, -5}) {
        OrderByNumber(cat, PlanTable, slot::DiskMb, n);
        OrderByText(cat, ProviderTable, slot::WebAddress, n);
        EXPECT_EQ(orderIndex(cat, 4), (std::vector<int>{2, 1, 2, 1}));
    }
}

TEST(Ordering, FullTableIsAPermutation) {
    Catalogue cat;
    for (int r = 1; r <= kMaxRows; ++r) {
        cat.number(PlanTable, slot::Traffic, r) = (r * 7919) % 101;
        cat.text(FreeHostTable, slot::FreeAddress, r) = r % 17 == 0 ? "" : std::to_string(r % 13);
    }
    for (const bool byText : {false, true}) {
        if (byText) {
            OrderByText(cat, FreeHostTable, slot::FreeAddress, kMaxRows);
        } else {
            OrderByNumber(cat, PlanTable, slot::Traffic, kMaxRows);
        }
        std::vector<int> rows = orderIndex(cat, kMaxRows);
        std::sort(rows.begin(), rows.end());
        for (int r = 1; r <= kMaxRows; ++r) ASSERT_EQ(rows[r - 1], r);
    }
}

}  // namespace
}  // namespace zorbinta
