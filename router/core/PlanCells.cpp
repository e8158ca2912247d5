// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/PlanCells.h"

#include <algorithm>
#include <iterator>

#include "catalogue/core/Numbers.h"
#include "router/core/PageParts.h"
#include "router/core/PageTables.h"

namespace zorbinta {

ProviderAddresses::ProviderAddresses(const Catalogue& catalogue) : catalogue_(catalogue) {
    const int count = std::min(catalogue.ProviderCount, kMaxRows);
    rows_.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int p = 1; p <= count; ++p) {
        const double id = catalogue.number(ProviderTable, slot::ProviderId, p);
        if (id == id) rows_.emplace_back(id, p);  // an id that is not a number matches none
    }
    std::sort(rows_.begin(), rows_.end());
}

const std::string& ProviderAddresses::of(double providerId) const {
    static const std::string none;
    // The last row of those with the id: the one before the first greater id.
    const auto after = std::upper_bound(
        rows_.begin(), rows_.end(), providerId,
        [](double id, const std::pair<double, int>& entry) { return id < entry.first; });
    if (after == rows_.begin() || std::prev(after)->first != providerId) return none;
    return catalogue_.text(ProviderTable, slot::WebAddress, std::prev(after)->second);
}

std::string planNameLink(const Catalogue& catalogue, int row) {
    return R"(<a class="menu" href="provid=)" +
           formatGeneral(catalogue.number(PlanTable, slot::PlanProviderId, row)) + R"(">)" +
           catalogue.text(PlanTable, slot::PlanName, row) + "</a>";
}

std::string planNumberText(int numberSlot, double value) {
    if (numberSlot == slot::MonthlyCost) return formatPrice(value);
    if (numberSlot >= slot::MinPaymentPeriod) return formatGeneral(value);
    return planValueText(value);
}

TableCell planNumberCell(int numberSlot, double value) {
    return numberSlot < slot::MonthlyCost ? planValueCell(value) : TableCell::of(value);
}

std::string planOptionsText(const Catalogue& catalogue, int row) {
    std::string text;
    for (int j = 1; j <= kFlagSlots; ++j) {
        if (!catalogue.flag(PlanTable, j, row)) continue;
        if (!text.empty()) text += ", ";
        text += PlanCaptions[static_cast<size_t>(9 + j)];
    }
    return text;
}

}  // namespace zorbinta
