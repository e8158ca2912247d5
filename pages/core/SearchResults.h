// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search results page body.

#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

struct SearchState;

// sortSlot is plan number slot 3, 4 or 8; page counts from 1. Orders the
// plans, reads (and may empty) the dialog's Edit1, Edit2 and Edit6.
std::string BuildSearchResults(Catalogue& catalogue, SearchState& dialog,
                               const std::string& serverUrl, int sortSlot, int page);

}  // namespace zorbinta
