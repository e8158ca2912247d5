// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/PlanCells.h"

#include "catalogue/core/Numbers.h"
#include "router/core/PageParts.h"

namespace zorbinta {

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
