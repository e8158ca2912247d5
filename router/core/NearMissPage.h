// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Почти подходящие: the plans that fail exactly one of the 23 tests of the
// current search, grouped by that test in the tests' order. A bound's group
// runs from the plan that misses it least; an option's group by plan row.
// Each group's count is how many more plans the search would find without
// that condition.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

// The page's location word: it holds none of the other command words, and
// none of them, nor any location the program makes, holds it.
inline constexpr const char* kNearMissCommand = "pochti";

// A plan row of the page: the one test it fails and by how much.
struct NearMiss {
    int test = 0;
    double by = 0;  // 0 for an option
    int row = 0;
};

// What the page listed, in page order; no rows when it is a message.
struct NearMissList {
    SearchCriteria criteria;
    std::vector<NearMiss> rows;
};

// The body. Reads search.criteria only once search.searched says that a
// "Найти" has set them; never the dialog's fields. shown, when given,
// receives the rows listed.
std::string BuildNearMissPage(const Catalogue& catalogue, const SearchState& search,
                              NearMissList* shown = nullptr);

// Экспорт таблицы: one line per plan row, after a column naming its group's
// condition as the group's heading does.
PageTable nearMissTable(const Catalogue& catalogue, const NearMissList& list);

}  // namespace zorbinta
