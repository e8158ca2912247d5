// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Почти подходящие: the plans that fail exactly one of the 23 tests of the
// current search, grouped by that test in the tests' order. A bound's group
// runs from the plan that misses it least; an option's group by plan row.
// Each group's count is how many more plans the search would find without
// that condition.

#include <string>

#include "catalogue/core/Catalogue.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

// The page's location word: it holds none of the other command words, and
// none of them, nor any location the program makes, holds it.
inline constexpr const char* kNearMissCommand = "pochti";

// The body. Reads search.criteria only once search.searched says that a
// "Найти" has set them; never the dialog's fields.
std::string BuildNearMissPage(const Catalogue& catalogue, const SearchState& search);

}  // namespace zorbinta
