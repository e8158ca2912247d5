// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start page: what the catalogue holds, how fresh it is and where to
// begin. The main window writes it into the pane once, after its first
// activation; it is not a navigation and the router never builds it.

#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

// Damaged: base.db is there, but the load raised an error.
enum class CatalogueFile { Present, Missing, Damaged };

// The newest UpdatedOn of the providers (YYYY-MM-DD), the catalogue's date;
// empty when none has a valid date.
std::string newestUpdate(const Catalogue& catalogue);

// "file://" + programDir + "templ/main.htm": the command address without a
// command, so that the page's relative links resolve as on every other page.
std::string startPageUrl(const std::string& programDir);

// The body. version: the catalogue's version record, empty without one;
// file says whether base.db was there to load and loaded; loadError is the
// load's message for a damaged file.
std::string BuildStartPage(const Catalogue& catalogue, const std::string& version,
                           CatalogueFile file, const std::string& loadError = {});

}  // namespace zorbinta
