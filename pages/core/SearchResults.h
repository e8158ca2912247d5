// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search results page body.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

struct SearchState;

// sortSlot is plan number slot 3, 4 or 8; page counts from 1. Orders the
// plans, reads (and may empty) the dialog's Edit1, Edit2 and Edit6. shownOrder,
// when given, receives every plan of the search in the order of the page.
std::string BuildSearchResults(Catalogue& catalogue, SearchState& dialog,
                               const std::string& serverUrl, int sortSlot, int page,
                               std::vector<int>* shownOrder = nullptr);

}  // namespace zorbinta
