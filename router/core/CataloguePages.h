// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bodies of the domain, free-hosting, comparison and provider pages.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/RowColour.h"

namespace zorbinta {

enum class DomainOrder { Zone, Registration, Renewal };

struct DomainParams {
    int page = 1;
    DomainOrder order = DomainOrder::Zone;
    std::string zone;  // empty: no zone filter
    int clientKind = 0;
    std::string query;       // DomainQuery
    std::string linkPrefix;  // DomainLinkPrefix
};

// shownOrder, when given, receives the rows of the whole list in the page's
// order (every offer of the zone and kind chosen, every free offer).
std::string BuildDomainPage(Catalogue& catalogue, const DomainParams& params, RowColour& colour,
                            const std::string& serverUrl, std::vector<int>* shownOrder = nullptr);
std::string BuildFreeHostPage(Catalogue& catalogue, const std::string& serverUrl,
                              std::vector<int>* shownOrder = nullptr);
// rows: CompareSelection, in location order.
std::string BuildComparePage(const Catalogue& catalogue, const std::vector<int>& rows,
                             RowColour& colour, const std::string& serverUrl);
std::string BuildProviderPage(const Catalogue& catalogue, int providerNumber, RowColour& colour,
                              const std::string& serverUrl);

// Rows 1 to 25 of the plan column table, appended to body. providerNumbers[i]
// goes into the order link of plans[i].
void BuildPlanColumns(std::string& body, const Catalogue& catalogue, const std::vector<int>& plans,
                      const std::vector<long long>& providerNumbers, RowColour& colour,
                      const std::string& serverUrl);

}  // namespace zorbinta
