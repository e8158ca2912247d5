#pragma once
// The start page: what the catalogue holds, how fresh it is and where to
// begin. The main window writes it into the pane once, after its first
// activation; it is not a navigation and the router never builds it.

#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

enum class CatalogueFile { Present, Missing };

// "file://" + programDir + "templ/main.htm": the command address without a
// command, so that the page's relative links resolve as on every other page.
std::string startPageUrl(const std::string& programDir);

// The body. version: the catalogue's version record, empty without one;
// file says whether base.db was there to load.
std::string BuildStartPage(const Catalogue& catalogue, const std::string& version,
                           CatalogueFile file);

}  // namespace zorbinta
