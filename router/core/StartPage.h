// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start page: what the catalogue holds, how fresh it is and where to
// begin. The main window writes it into the pane once, after its first
// activation, without a navigation; later the command "glavn" (Показать →
// Главная страница) has the router build it again as a page of the history.

#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

// Damaged: base.db is there, but the load raised an error.
enum class CatalogueFile { Present, Missing, Damaged };

// The start page's own command word: it holds no other command word, and no
// other command's location holds it.
inline constexpr const char* kStartCommand = "glavn";
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
