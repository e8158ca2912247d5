// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/NearMissPage.h"

#include <algorithm>
#include <array>
#include <vector>

#include "catalogue/core/Numbers.h"
#include "pages/core/RowColour.h"
#include "router/core/PageParts.h"
#include "router/core/PlanCells.h"

namespace zorbinta {
namespace {

constexpr const char* kHeading = R"(<h3 align="center">Почти подходящие</h3>)";
constexpr const char* kNoSearch =
    "<p>Поиск ещё не задан. Откройте Поиск → Виртуалный сервер, задайте условия и нажмите "
    "«Найти»: здесь появятся тарифные планы, которым не хватает ровно одного условия.</p>";
constexpr std::array<const char*, 5> kCaptions = {"Тарифный план", "Хостинг-провайдер", "У тарифа",
                                                  "Условие", "Разница"};
constexpr const char* kNoneMiss =
    "<p>Нет тарифных планов, которым не хватает ровно одного условия поиска.</p>";

// The one test the plan fails: 0 when it fails none, -1 when more than one.
int onlyFailedTest(const Catalogue& catalogue, const SearchCriteria& criteria, int row) {
    int failed = 0;
    for (int test = 1; test <= kSearchTestCount; ++test) {
        if (PassesSearchTest(catalogue, criteria, row, test)) continue;
        if (failed != 0) return -1;
        failed = test;
    }
    return failed;
}

double boundOf(const SearchCriteria& criteria, int test) {
    return criteria.Bounds[static_cast<size_t>(test)];
}

double valueOf(const Catalogue& catalogue, int test, int row) {
    return catalogue.number(PlanTable, test + 2, row);
}

// Rows 1 to 5 bound the five quantities, for which 99999 is the catalogue's
// "unlimited": such a bound (the "Неогр." box) leaves nothing to measure a
// miss by.
constexpr int kLastQuantityBound = 5;
bool unlimitedBound(const SearchCriteria& criteria, int test) {
    return test <= kLastQuantityBound && boundOf(criteria, test) == kUnlimited;
}

double missOf(const Catalogue& catalogue, const SearchCriteria& criteria, int test, int row) {
    if (test >= kFirstOptionTest) return 0;
    const double value = valueOf(catalogue, test, row);
    const double bound = boundOf(criteria, test);
    return test == kPriceBound ? value - bound : bound - value;
}

// The condition as the search dialog names it: the caption, then the bound
// or "есть".
std::string conditionText(const SearchCriteria& criteria, int test) {
    std::string text = PlanCaptions[static_cast<size_t>(test + 1)];
    if (test >= kFirstOptionTest) return text + ": есть";
    text += test == kPriceBound ? ": не больше " : ": не меньше ";
    return text + planNumberText(test + 2, boundOf(criteria, test));
}

// One row, as listRow writes it, appended in place: the list may run to a
// thousand rows.
void appendRow(std::string& body, RowColour& colour, const Catalogue& catalogue,
               const ProviderAddresses& addresses, const SearchCriteria& criteria, int test,
               const NearMiss& miss) {
    const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, miss.row);
    body += R"(<tr bgcolor=")";
    body += colour.toggle();
    body += R"("><td>)";
    body += planNameLink(catalogue, miss.row);
    body += "</td><td>";
    body += addresses.of(providerId);
    body += "</td><td>";
    if (test >= kFirstOptionTest) {
        body += "нет</td><td>есть</td><td></td></tr>";
        return;
    }
    body += planNumberText(test + 2, valueOf(catalogue, test, miss.row));
    body += "</td><td>";
    body += planNumberText(test + 2, boundOf(criteria, test));
    body += "</td><td>";
    if (!unlimitedBound(criteria, test)) {
        body += test == kPriceBound ? formatPrice(miss.by) : formatGeneral(miss.by);
    }
    body += "</td></tr>";
}

}  // namespace

std::string BuildNearMissPage(const Catalogue& catalogue, const SearchState& search,
                              NearMissList* shown) {
    if (shown != nullptr) *shown = {};
    std::string body = kHeading;
    if (!search.searched) return body + kNoSearch;
    const SearchCriteria& criteria = search.criteria;

    std::array<std::vector<NearMiss>, kSearchTestCount + 1> groups;
    long long matching = 0;
    long long missing = 0;
    const int planCount = std::min(catalogue.PlanCount, kMaxRows);
    for (int row = 1; row <= planCount; ++row) {
        const int test = onlyFailedTest(catalogue, criteria, row);
        if (test == 0) ++matching;
        if (test <= 0) continue;
        groups[static_cast<size_t>(test)].push_back(
            {test, missOf(catalogue, criteria, test, row), row});
        ++missing;
    }

    body += R"(<font class="found">Подходят под поиск: )" + formatInt(matching) +
            ". Не хватает ровно одного условия: " + formatInt(missing) + "</font>";
    if (missing == 0) return body + kNoneMiss;

    const ProviderAddresses addresses(catalogue);
    body.reserve(body.size() + 1024 + static_cast<size_t>(missing) * 256);

    for (int test = 1; test <= kSearchTestCount; ++test) {
        std::vector<NearMiss>& group = groups[static_cast<size_t>(test)];
        if (group.empty()) continue;
        // Rows were collected in row order, so ties stay by row.
        std::stable_sort(group.begin(), group.end(),
                         [](const NearMiss& a, const NearMiss& b) { return a.by < b.by; });
        body += "<h4>" + conditionText(criteria, test) + "</h4>";
        body += R"(<font class="found">Не проходят только по этому условию: )" +
                formatInt(static_cast<long long>(group.size())) + "</font>";
        body += R"(<table border="0" CELLPADDING="5">)";
        body += listHead(std::vector<const char*>(kCaptions.begin(), kCaptions.end()));
        RowColour colour;
        for (const NearMiss& miss : group) {
            appendRow(body, colour, catalogue, addresses, criteria, test, miss);
        }
        body += "</table>";
        if (shown != nullptr) shown->rows.insert(shown->rows.end(), group.begin(), group.end());
    }
    if (shown != nullptr) shown->criteria = criteria;
    return body;
}

PageTable nearMissTable(const Catalogue& catalogue, const NearMissList& list) {
    PageTable table{"pochti-podhodyashchie", Paper::Portrait, {"Не выполнено"}, {}};
    table.captions.insert(table.captions.end(), kCaptions.begin(), kCaptions.end());
    table.rows.reserve(list.rows.size());
    const ProviderAddresses addresses(catalogue);
    const SearchCriteria& criteria = list.criteria;
    std::string condition;
    int conditionOf = 0;
    for (const NearMiss& miss : list.rows) {
        if (miss.test != conditionOf) {
            condition = conditionText(criteria, miss.test);
            conditionOf = miss.test;
        }
        std::vector<TableCell> cells{
            TableCell::of(condition),
            TableCell::of(catalogue.text(PlanTable, slot::PlanName, miss.row)),
            TableCell::of(
                addresses.of(catalogue.number(PlanTable, slot::PlanProviderId, miss.row)))};
        if (miss.test >= kFirstOptionTest) {
            cells.insert(cells.end(),
                         {TableCell::of("нет"), TableCell::of("есть"), TableCell::of("")});
        } else {
            cells.push_back(planNumberCell(miss.test + 2, valueOf(catalogue, miss.test, miss.row)));
            cells.push_back(planNumberCell(miss.test + 2, boundOf(criteria, miss.test)));
            cells.push_back(unlimitedBound(criteria, miss.test) ? TableCell::of("")
                                                                : TableCell::of(miss.by));
        }
        table.rows.push_back(std::move(cells));
    }
    return table;
}

}  // namespace zorbinta
