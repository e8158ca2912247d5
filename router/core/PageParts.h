// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pieces that several pages write the same way.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/RowColour.h"

namespace zorbinta {

// The last provider row whose ProviderId equals id, as the card finds it; 0
// when none does.
int providerRowOf(const Catalogue& catalogue, double id);

// That row's WebAddress; empty when no row carries the id.
std::string providerAddressOf(const Catalogue& catalogue, double id);

// The provider of that row by its site address, linked to its card as the
// search results link their plans: <a class="menu" href="provid=ID">.
std::string providerCardLink(const Catalogue& catalogue, int row);
// The text of that link: the site address, else the firm, else "№ " + id.
std::string providerCardName(const Catalogue& catalogue, int row);

// A plan's provider: linked to its card when the catalogue holds it, the
// plain text fallback otherwise.
std::string planProviderCell(const Catalogue& catalogue, double providerId,
                             const std::string& fallback);

// YYYY-MM-DD shown as DD.MM.YYYY, characters taken by position as the
// provider card takes them.
std::string shownDate(const std::string& date);

// A value of a plan: 99999 is "неогр.", anything else the general format.
std::string planValueText(double value);

// Text that is not the catalogue's own (error messages) made safe for a page.
std::string htmlEscaped(std::string_view text);

// The head row of a list: cells in the heading colour.
std::string listHead(const std::vector<const char*>& captions);
// One data row in the list's next colour.
std::string listRow(RowColour& colour, const std::vector<std::string>& cells);

}  // namespace zorbinta
