// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/core/SearchCriteria.h"

namespace zorbinta {

bool MatchesSearchCriteria(const Catalogue& catalogue, const SearchCriteria& criteria, int row) {
    if (row < 1 || row > kMaxRows) return false;
    for (int test = 1; test <= kSearchTestCount; ++test) {
        if (!PassesSearchTest(catalogue, criteria, row, test)) return false;
    }
    return true;
}

}  // namespace zorbinta
