// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/core/SearchCriteria.h"

namespace zorbinta {

bool MatchesSearchCriteria(const Catalogue& catalogue, const SearchCriteria& criteria, int row) {
    if (row < 1 || row > kMaxRows) return false;
    bool matches = true;
    for (int k = 1; k <= kBoundCount; ++k) {
        const double v = catalogue.number(PlanTable, k + 2, row);
        if (k == kPriceBound) {
            if (v > criteria.Bounds[k]) matches = false;
        } else if (!(v >= criteria.Bounds[k])) {
            matches = false;
        }
    }
    for (int j = 1; j <= kOptionCount; ++j) {
        const unsigned char wanted = criteria.Options[j];
        if (wanted != 0 && (catalogue.flag(PlanTable, j, row) ? 1 : 0) != wanted) matches = false;
    }
    return matches;
}

}  // namespace zorbinta
