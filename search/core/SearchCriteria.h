// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a search asks for and the test a plan passes, apart from the dialog
// that asks: the results page reads them.

#include <array>
#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

inline constexpr int kBoundCount = 8;    // Edit1..Edit8, Bounds[1..8]
inline constexpr int kOptionCount = 15;  // Options[1..15]
inline constexpr int kPriceBound = 6;    // the one upper bound: the monthly price

struct SearchCriteria {
    std::array<double, kBoundCount + 1> Bounds{};           // 1..8
    std::array<unsigned char, kOptionCount + 1> Options{};  // 1..15
};

bool MatchesSearchCriteria(const Catalogue& catalogue, const SearchCriteria& criteria, int row);

// The match test is 23 tests: test 1 to 8 are the bounds (Bounds[test]),
// test 9 to 23 the options (Options[test - 8]). A plan matches when it passes
// all of them.
inline constexpr int kSearchTestCount = kBoundCount + kOptionCount;
inline constexpr int kFirstOptionTest = kBoundCount + 1;
// Inline: the near-miss page runs it up to 23 000 times a page.
inline bool PassesSearchTest(const Catalogue& catalogue, const SearchCriteria& criteria, int row,
                             int test) {
    if (test <= kBoundCount) {
        const double v = catalogue.number(PlanTable, test + 2, row);
        // Written so that a value that is not a number fails a lower bound
        // and passes the price, as the comparisons fall.
        return test == kPriceBound ? !(v > criteria.Bounds[test]) : v >= criteria.Bounds[test];
    }
    const int j = test - kBoundCount;
    const unsigned char wanted = criteria.Options[j];
    return wanted == 0 || (catalogue.flag(PlanTable, j, row) ? 1 : 0) == wanted;
}

// The search dialog as the results page reads it: the criteria "Найти"
// stored, and the fields whose bounds choose the order of the next results
// page (a disk or traffic bound once, which empties its field; a price bound
// every time).
struct SearchState {
    std::array<std::string, kBoundCount + 1> Edit;  // Edit[1..8], UTF-8
    SearchCriteria criteria;
    // Whether a "Найти" has closed the dialog in this run: before it there is
    // no current search ("Отмена" and the close box make none).
    bool searched = false;
};

}  // namespace zorbinta
