// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plan's cells as the decision pages (near misses, unbeaten plans) write
// them: the name linked to the provider's card as the results page links it,
// each count in its own form.

#include <string>
#include <utility>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"

namespace zorbinta {

// The providers' site addresses by ProviderId, found as the results page
// finds them (the last row with the id wins; none gives an empty text), read
// once for a page of many plans rather than a scan of all providers a row.
class ProviderAddresses {
public:
    explicit ProviderAddresses(const Catalogue& catalogue);
    const std::string& of(double providerId) const;

private:
    const Catalogue& catalogue_;
    std::vector<std::pair<double, int>> rows_;  // by id, then row
};

// <a class="menu" href="provid=ID">PlanName</a>
std::string planNameLink(const Catalogue& catalogue, int row);

// Number slot 3 to 10 of the plan table: the five quantities 99999 as
// "неогр.", the monthly price as money, the period and the test days in the
// general format.
std::string planNumberText(int numberSlot, double value);
// The same in a table: a number, or the text "неогр.".
TableCell planNumberCell(int numberSlot, double value);

// The options the plan has, their captions joined by ", ".
std::string planOptionsText(const Catalogue& catalogue, int row);

}  // namespace zorbinta
