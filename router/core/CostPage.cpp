// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/CostPage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "catalogue/core/Numbers.h"
#include "pages/core/Paging.h"
#include "router/core/PageParts.h"
#include "router/core/PlanCells.h"

namespace zorbinta {
namespace {

constexpr std::array<const char*, kMaxCostYears + 1> kYears = {"",       "1 год",  "2 года",
                                                               "3 года", "4 года", "5 лет"};
constexpr const char* kNoDomain = "без домена";
constexpr const char* kSearchOnly = "Только тарифы, подходящие под поиск";
constexpr std::array<const char*, 8> kCaptions = {
    "Тарифный план", "Хостинг-провайдер", "Месяцев оплаты", "Хостинг(y.e.)",
    "Домен(y.e.)",   "Регистратор",       "Итого(y.e.)",    "В месяц(y.e.)"};

int offerEnd(const Catalogue& catalogue) {
    return std::clamp(catalogue.DomainEnd, 1, kMaxRows + 1);
}

// The cheapest offer of one kind: the lowest row among equal costs.
struct Offer {
    double cost = 0;
    int row = 0;
    void consider(double c, int r) {
        if (row == 0 || c < cost) {
            cost = c;
            row = r;
        }
    }
};

// NaN, which no sane catalogue holds, sorts with the dearest.
double sortKey(double total) {
    return std::isnan(total) ? std::numeric_limits<double>::infinity() : total;
}

std::string costHref(const CostParams& p, long long page) {
    std::string href =
        std::string(kCostCommand) + "?z=" + formatInt(p.zone) + "&n=" + formatInt(p.years);
    if (p.searchOnly) href += "&s=1";
    return href + "&list=" + formatInt(page);
}

std::string option(const std::string& value, const std::string& text, bool selected) {
    return R"(<option value=")" + value + '"' + (selected ? " selected" : "") + ">" + text +
           "</option>";
}

std::string form(const std::vector<std::string>& zones, const CostParams& p, bool searched) {
    std::string html = R"(<form action=")" + std::string(kCostCommand) +
                       R"(" method="get"><table><tr><td>Зона домена:</td><td>)"
                       R"(<select name="z" size="1">)";
    html += option("0", kNoDomain, p.zone == 0);
    for (size_t k = 0; k < zones.size(); ++k) {
        const int place = static_cast<int>(k) + 1;
        html += option(formatInt(place), zones[k], p.zone == place);
    }
    html += R"(</select></td></tr><tr><td>Срок:</td><td><select name="n" size="1">)";
    for (int n = 1; n <= kMaxCostYears; ++n) html += option(formatInt(n), kYears[n], p.years == n);
    html +=
        R"(</select></td></tr><tr><td colspan="2"><label><input type="checkbox" name="s" value="1")";
    if (p.searchOnly) html += " checked";
    if (!searched) html += " disabled";
    html += ">";
    html += kSearchOnly;
    html += "</label>";
    if (!searched) {
        html += R"( <font class="small">(после поиска: Поиск &rarr; Виртуалный сервер)</font>)";
    }
    html += R"(</td></tr></table><input type="submit" value="Рассчитать"></form>)";
    return html;
}

// Months paid for a minimum period (below 1 counts as 1) over the years:
// the smallest whole number of periods that covers them.
double monthsPaid(double minPeriod, int years) {
    const double period = minPeriod < 1 ? 1 : minPeriod;
    const double need = 12.0 * years;
    // From the quotient, then made exact against rounding either way.
    double periods = std::max(1.0, std::ceil(need / period));
    while (periods > 1 && (periods - 1) * period >= need) --periods;
    while (periods * period < need) ++periods;
    return periods * period;
}

}  // namespace

CostParams readCostParams(std::string_view location) {
    CostParams p;
    const size_t word = location.find(kCostCommand);
    if (word == std::string_view::npos) return p;
    std::string_view rest = location.substr(word + std::string_view(kCostCommand).size());
    if (rest.empty() || rest.front() != '?') return p;
    rest.remove_prefix(1);
    while (!rest.empty()) {
        const size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
        const size_t eq = pair.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = pair.substr(0, eq);
        int value = 0;
        if (!tryParseInt(pair.substr(eq + 1), value)) continue;
        if (key == "z" && value >= 0) p.zone = value;
        if (key == "n" && value >= 1 && value <= kMaxCostYears) p.years = value;
        if (key == "s") p.searchOnly = value == 1;
        if (key == "list") p.page = value;
    }
    return p;
}

std::vector<std::string> costZones(const Catalogue& catalogue) {
    std::vector<std::string> zones;
    for (int r = 1; r < offerEnd(catalogue); ++r) {
        const std::string& zone = catalogue.text(DomainTable, slot::Zone, r);
        if (std::find(zones.begin(), zones.end(), zone) == zones.end()) zones.push_back(zone);
    }
    return zones;
}

CostList computeCosts(const Catalogue& catalogue, const SearchState& search,
                      const std::string* zone, int years, bool searchOnly) {
    // Every offer for the zone is looked at once: the cheapest for clients
    // without hosting anywhere, and each provider's cheapest for its own
    // hosting clients. Offers of any other client kind count for neither.
    Offer anyone;
    std::unordered_map<double, Offer> ownClients;
    if (zone != nullptr) {
        for (int r = 1; r < offerEnd(catalogue); ++r) {
            if (catalogue.text(DomainTable, slot::Zone, r) != *zone) continue;
            const double cost = catalogue.number(DomainTable, slot::RegistrationPrice, r) +
                                (years - 1) * catalogue.number(DomainTable, slot::RenewalPrice, r);
            const double kind = catalogue.number(DomainTable, slot::ClientKind, r);
            if (kind == 0) {
                anyone.consider(cost, r);
            } else if (kind == 1) {
                ownClients[catalogue.number(DomainTable, slot::DomainProviderId, r)].consider(cost,
                                                                                              r);
            }
        }
    }

    CostList list;
    list.years = years;
    const bool matching = searchOnly && search.searched;
    const int plans = std::min(catalogue.PlanCount, kMaxRows);
    list.rows.reserve(static_cast<size_t>(std::max(plans, 0)));
    for (int r = 1; r <= plans; ++r) {
        if (matching && !MatchesSearchCriteria(catalogue, search.criteria, r)) continue;
        CostRow row;
        row.plan = r;
        if (zone != nullptr) {
            const auto own = ownClients.find(catalogue.number(PlanTable, slot::PlanProviderId, r));
            const Offer& offer = own != ownClients.end() ? own->second : anyone;
            if (offer.row == 0) {
                ++list.leftOut;
                continue;
            }
            row.offer = offer.row;
            row.domain = offer.cost;
        }
        row.months = monthsPaid(catalogue.number(PlanTable, slot::MinPaymentPeriod, r), years);
        row.hosting = catalogue.number(PlanTable, slot::MonthlyCost, r) * row.months;
        row.total = row.hosting + row.domain;
        list.rows.push_back(row);
    }
    std::sort(list.rows.begin(), list.rows.end(), [](const CostRow& a, const CostRow& b) {
        const double ka = sortKey(a.total), kb = sortKey(b.total);
        return ka < kb || (ka == kb && a.plan < b.plan);
    });
    return list;
}

std::string BuildCostPage(const Catalogue& catalogue, const SearchState& search,
                          const CostParams& asked, CostList* whole) {
    const std::vector<std::string> zones = costZones(catalogue);
    CostParams p = asked;
    if (p.zone < 0 || p.zone > static_cast<int>(zones.size())) p.zone = zones.empty() ? 0 : 1;
    p.searchOnly = p.searchOnly && search.searched;
    const std::string* zone = p.zone > 0 ? &zones[static_cast<size_t>(p.zone - 1)] : nullptr;

    CostList list = computeCosts(catalogue, search, zone, p.years, p.searchOnly);
    const auto count = static_cast<long long>(list.rows.size());
    const long long pages = pageCount(count);
    const long long page = std::clamp(p.page, 1LL, std::max(pages, 1LL));

    std::string body =
        R"(<h3 align="center">Стоимость сайта</h3>)" + form(zones, p, search.searched);
    body += R"(<h4>Стоимость сайта за )" + std::string(kYears[p.years]) +
            (zone != nullptr ? " в зоне " + *zone : std::string(" ") + kNoDomain) +
            R"(</h4><font class="found">Тарифных планов: )" + formatInt(count) + "</font>";
    if (list.leftOut > 0) {
        body += R"(<br><font class="small">Не вошли в список тарифных планов: )" +
                formatInt(list.leftOut) +
                " (ни их провайдер, ни другие регистраторы не регистрируют домены в этой зоне)"
                "</font>";
    }
    body += R"(<table border="0" CELLPADDING="5">)";
    body += listHead(std::vector<const char*>(kCaptions.begin(), kCaptions.end()));
    RowColour colour;
    const PageRows shown = pageRows(count, page);
    const double months = 12.0 * p.years;
    for (long long pos = shown.first; pos <= shown.last; ++pos) {
        const CostRow& row = list.rows[static_cast<size_t>(pos - 1)];
        const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, row.plan);
        body += listRow(
            colour,
            {R"(<a class="menu" href="provid=)" + formatGeneral(providerId) + R"(">)" +
                 catalogue.text(PlanTable, slot::PlanName, row.plan) + "</a>",
             providerAddressOf(catalogue, providerId), formatGeneral(row.months),
             formatPrice(row.hosting), formatPrice(row.domain),
             row.offer > 0
                 ? providerAddressOf(
                       catalogue, catalogue.number(DomainTable, slot::DomainProviderId, row.offer))
                 : std::string(),
             formatPrice(row.total), formatPrice(row.total / months)});
    }
    body += "</table>";
    if (pages > 1) {
        body += pageLinkRow(pages, [&p](long long n) { return costHref(p, n); });
    }
    if (whole != nullptr) *whole = std::move(list);
    return body;
}

PageTable costTable(const Catalogue& catalogue, const CostList& list) {
    PageTable table{"stoimost-sajta", Paper::Portrait, {kCaptions.begin(), kCaptions.end()}, {}};
    table.rows.reserve(list.rows.size());
    const ProviderAddresses address(catalogue);
    const double months = 12.0 * list.years;
    for (const CostRow& row : list.rows) {
        table.rows.push_back(
            {TableCell::of(catalogue.text(PlanTable, slot::PlanName, row.plan)),
             TableCell::of(address.of(catalogue.number(PlanTable, slot::PlanProviderId, row.plan))),
             TableCell::of(row.months), TableCell::of(row.hosting), TableCell::of(row.domain),
             TableCell::of(row.offer > 0 ? address.of(catalogue.number(
                                               DomainTable, slot::DomainProviderId, row.offer))
                                         : std::string()),
             TableCell::of(row.total), TableCell::of(row.total / months)});
    }
    return table;
}

}  // namespace zorbinta
