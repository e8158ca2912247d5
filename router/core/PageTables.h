// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of each page kind with a list, as Экспорт таблицы writes it:
// the column captions as the page writes them and one line per row of the
// whole list, made from the catalogue and the rows the page was built with.
// Cells hold what the page writes, without HTML; a price is a plain number,
// "неогр." and "Неогр." stay texts. The pages that set plans side by side
// (comparison, provider card) give one line per plan, one column per row of
// the page, without the order links.

#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"

namespace zorbinta {

// matches: every plan of the search in the order the page put them.
PageTable searchResultsTable(const Catalogue& catalogue, const std::vector<int>& matches);
// rows: the compare selection in location order; a row twice gives two lines.
PageTable compareTable(const Catalogue& catalogue, const std::vector<int>& rows);
PageTable providerTable(const Catalogue& catalogue, int providerNumber);
// order: the offer rows in the order the page shows them.
PageTable freeHostTable(const Catalogue& catalogue, const std::vector<int>& order);
// rows: every offer of the zone and kind chosen, in the order chosen.
PageTable domainTable(const Catalogue& catalogue, const std::vector<int>& rows);

// A plan's limit: 99999 is the text "неогр.", anything else a number.
TableCell planValueCell(double value);

// Every option the plan has, by its caption in flag order, joined by ", ".
std::string planOptionNames(const Catalogue& catalogue, int row);

}  // namespace zorbinta
