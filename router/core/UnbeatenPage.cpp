// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/UnbeatenPage.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "catalogue/core/Numbers.h"
#include "pages/core/RowColour.h"
#include "router/core/PageParts.h"
#include "router/core/PlanCells.h"
#include "router/core/PlanChart.h"

namespace zorbinta {
namespace {

constexpr const char* kHeading = R"(<h3 align="center">Лучшие тарифы</h3>)";
constexpr const char* kExplained =
    R"(<p class="small">Здесь тарифный план, если среди остальных нет такого, что во всём не )"
    "хуже и хотя бы в чём-то лучше: не дороже, с не большим минимальным сроком оплаты, с не "
    "меньшими диском, трафиком, числом почтовых ящиков, доменов 3 уровня и баз MySQL и "
    "тестовым периодом и со всеми его опциями.</p>";
constexpr const char* kNoSearch =
    "<p>Поиск ещё не задан: здесь все тарифные планы каталога. Задайте условия в Поиск → "
    "Виртуалный сервер, чтобы выбрать лучшие из подходящих.</p>";

// The eight counts, each turned so that lower is better.
constexpr int kCounts = 8;
constexpr std::array<std::pair<int, double>, kCounts> kCountSlots = {{
    {slot::MonthlyCost, 1},
    {slot::MinPaymentPeriod, 1},
    {slot::DiskMb, -1},
    {slot::Traffic, -1},
    {slot::Mailboxes, -1},
    {slot::SubDomains, -1},
    {slot::MySqlDatabases, -1},
    {slot::TrialDays, -1},
}};

struct Plan {
    std::array<double, kCounts> cost{};  // lower is better
    std::uint32_t options = 0;           // flag j as bit j - 1
    int optionCount = 0;
    int row = 0;
};

Plan planOf(const Catalogue& catalogue, int row) {
    Plan plan;
    plan.row = row;
    for (int k = 0; k < kCounts; ++k) {
        const auto [numberSlot, sign] = kCountSlots[static_cast<size_t>(k)];
        plan.cost[static_cast<size_t>(k)] = sign * catalogue.number(PlanTable, numberSlot, row);
    }
    for (int j = 1; j <= kFlagSlots; ++j) {
        if (!catalogue.flag(PlanTable, j, row)) continue;
        plan.options |= 1u << (j - 1);
        ++plan.optionCount;
    }
    return plan;
}

bool beats(const Plan& q, const Plan& p) {
    // Most pairs fail on the options, so they are looked at first.
    if ((p.options & ~q.options) != 0) return false;
    bool better = q.options != p.options;
    for (int k = 0; k < kCounts; ++k) {
        const double a = q.cost[static_cast<size_t>(k)];
        const double b = p.cost[static_cast<size_t>(k)];
        if (!(a <= b)) return false;
        if (a < b) better = true;
    }
    return better;
}

// A plan that beats another comes before it in this order: it is no worse on
// the first count where they differ, and with every count equal it has more
// options. Equal keys therefore never beat each other.
bool keyBefore(const Plan& a, const Plan& b) {
    if (a.cost != b.cost) return a.cost < b.cost;
    if (a.optionCount != b.optionCount) return a.optionCount > b.optionCount;
    return a.row < b.row;
}

std::vector<const char*> captions() {
    std::vector<const char*> captions = {PlanCaptions[1], "Хостинг-провайдер"};
    for (size_t k = 2; k <= 9; ++k) captions.push_back(PlanCaptions[k]);
    captions.push_back("Опции");
    return captions;
}

std::vector<std::string> rowCells(const Catalogue& catalogue, const ProviderAddresses& addresses,
                                  int row) {
    const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, row);
    std::vector<std::string> cells = {planNameLink(catalogue, row), addresses.of(providerId)};
    for (int numberSlot = slot::DiskMb; numberSlot <= slot::TrialDays; ++numberSlot) {
        cells.push_back(planNumberText(numberSlot, catalogue.number(PlanTable, numberSlot, row)));
    }
    cells.push_back(planOptionsText(catalogue, row));
    return cells;
}

}  // namespace

bool planBeats(const Catalogue& catalogue, int q, int p) {
    return beats(planOf(catalogue, q), planOf(catalogue, p));
}

std::vector<int> unbeatenAmong(const Catalogue& catalogue, const std::vector<int>& rows) {
    std::vector<Plan> plans;
    plans.reserve(rows.size());
    for (const int row : rows) plans.push_back(planOf(catalogue, row));
    std::sort(plans.begin(), plans.end(), keyBefore);
    // Whatever beats a plan comes before it, and whatever is beaten is beaten
    // by a plan that is not: a plan need only be tried against those kept.
    std::vector<Plan> kept;
    for (const Plan& plan : plans) {
        const bool beaten = std::any_of(kept.begin(), kept.end(),
                                        [&plan](const Plan& q) { return beats(q, plan); });
        if (!beaten) kept.push_back(plan);
    }
    std::vector<int> unbeaten;
    unbeaten.reserve(kept.size());
    for (const Plan& plan : kept) unbeaten.push_back(plan.row);
    std::sort(unbeaten.begin(), unbeaten.end());
    return unbeaten;
}

std::string BuildUnbeatenPage(const Catalogue& catalogue, const SearchState& search,
                              std::vector<int>* shown) {
    if (shown != nullptr) shown->clear();
    std::vector<int> plans;
    const int planCount = std::min(catalogue.PlanCount, kMaxRows);
    plans.reserve(static_cast<size_t>(std::max(planCount, 0)));
    for (int row = 1; row <= planCount; ++row) {
        if (!search.searched || MatchesSearchCriteria(catalogue, search.criteria, row)) {
            plans.push_back(row);
        }
    }

    std::string body = kHeading;
    if (!search.searched) body += kNoSearch;
    if (plans.empty()) {
        return body + (search.searched
                           ? "<p>Под условия поиска не подходит ни один тарифный план.</p>"
                           : "<p>В каталоге нет тарифных планов.</p>");
    }
    std::vector<int> unbeaten = unbeatenAmong(catalogue, plans);
    body += R"(<font class="found">)";
    body += search.searched ? "Подходят под поиск: " : "Тарифных планов: ";
    body += formatInt(static_cast<long long>(plans.size())) +
            ". Лучших среди них: " + formatInt(static_cast<long long>(unbeaten.size())) + "</font>";
    body += kExplained;
    const ProviderAddresses addresses(catalogue);
    body += planChart(catalogue, addresses, plans, unbeaten);

    // The table by monthly price, ties by row: the rows are in row order.
    std::stable_sort(unbeaten.begin(), unbeaten.end(), [&catalogue](int a, int b) {
        return catalogue.number(PlanTable, slot::MonthlyCost, a) <
               catalogue.number(PlanTable, slot::MonthlyCost, b);
    });
    body += R"(<table border="0" CELLPADDING="5">)";
    body += listHead(captions());
    RowColour colour;
    for (const int row : unbeaten) body += listRow(colour, rowCells(catalogue, addresses, row));
    body += "</table>";
    if (shown != nullptr) *shown = std::move(unbeaten);
    return body;
}

PageTable unbeatenTable(const Catalogue& catalogue, const std::vector<int>& rows) {
    PageTable table{"luchshie-tarify", Paper::Portrait, {}, {}};
    for (const char* caption : captions()) table.captions.emplace_back(caption);
    table.rows.reserve(rows.size());
    const ProviderAddresses addresses(catalogue);
    for (const int row : rows) {
        std::vector<TableCell> cells = {
            TableCell::of(catalogue.text(PlanTable, slot::PlanName, row)),
            TableCell::of(addresses.of(catalogue.number(PlanTable, slot::PlanProviderId, row)))};
        for (int numberSlot = slot::DiskMb; numberSlot <= slot::TrialDays; ++numberSlot) {
            cells.push_back(
                planNumberCell(numberSlot, catalogue.number(PlanTable, numberSlot, row)));
        }
        cells.push_back(TableCell::of(planOptionsText(catalogue, row)));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

}  // namespace zorbinta
