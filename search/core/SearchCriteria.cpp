// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/core/SearchCriteria.h"

namespace zorbinta {

bool PassesSearchTest(const Catalogue& catalogue, const SearchCriteria& criteria, int row,
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

bool MatchesSearchCriteria(const Catalogue& catalogue, const SearchCriteria& criteria, int row) {
    if (row < 1 || row > kMaxRows) return false;
    for (int test = 1; test <= kSearchTestCount; ++test) {
        if (!PassesSearchTest(catalogue, criteria, row, test)) return false;
    }
    return true;
}

}  // namespace zorbinta
