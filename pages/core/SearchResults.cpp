// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/SearchResults.h"

#include <algorithm>
#include <vector>

#include "catalogue/core/Numbers.h"
#include "pages/core/Ordering.h"
#include "pages/core/Paging.h"
#include "pages/core/RowColour.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {
namespace {

const char* sortWordOf(int sortSlot) {
    switch (sortSlot) {
        case slot::DiskMb:
            return "space";
        case slot::Traffic:
            return "traf";
        default:
            return "stoim";
    }
}

// The last provider row that carries the id wins; none gives an empty text.
std::string providerAddress(const Catalogue& catalogue, double providerId) {
    const std::string* found = nullptr;
    for (int p = 1; p <= std::min(catalogue.ProviderCount, kMaxRows); ++p) {
        if (catalogue.number(ProviderTable, slot::ProviderId, p) == providerId) {
            found = &catalogue.text(ProviderTable, slot::WebAddress, p);
        }
    }
    return found != nullptr ? *found : std::string();
}

std::string optionsText(const Catalogue& catalogue, int row) {
    static constexpr std::pair<int, const char*> kShown[] = {{slot::HasPhp, "PHP"},
                                                             {slot::HasPerl, "Perl"},
                                                             {slot::HasSsi, "SSI"},
                                                             {slot::HasCron, "Cron"},
                                                             {slot::HasSsh, "SSH"}};
    std::string text;
    for (const auto& [flagSlot, name] : kShown) {
        if (!catalogue.flag(PlanTable, flagSlot, row)) continue;
        if (!text.empty()) text += ',';
        text += name;
    }
    if (!text.empty()) text += "...";
    return text;
}

std::string trafficText(double traffic) {
    return traffic == kUnlimited ? std::string("неогр.") : formatGeneral(traffic);
}

void appendRow(std::string& body, const Catalogue& catalogue, const std::string& serverUrl, int row,
               const std::string& colour) {
    const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, row);
    body += "<tr bgcolor=\"";
    body += colour;
    body += "\"><td><input type=\"checkbox\" name=\"nom\" value=\"";
    body += formatInt(row);
    body += "\"><a class=\"menu\" href=\"provid=";
    body += formatGeneral(providerId);
    body += "\">";
    body += catalogue.text(PlanTable, slot::PlanName, row);
    body += "</a>";
    body += "</td><td><a class=\"menu\" target=\"new\" href=\"";
    body += serverUrl;
    body += "/stat.php?id=";
    body += formatGeneral(providerId);
    body += "&type=1&nom=";
    body += formatGeneral(catalogue.number(PlanTable, slot::PlanNumber, row));
    body += "\">";
    body += providerAddress(catalogue, providerId);
    body += "</a></td><td>";
    body += formatGeneral(catalogue.number(PlanTable, slot::DiskMb, row));
    body += "</td><td>";
    body += trafficText(catalogue.number(PlanTable, slot::Traffic, row));
    body += "</td>";
    body += "<td class=\"small\">";
    body += optionsText(catalogue, row);
    body += "</td><td>";
    body += formatPrice(catalogue.number(PlanTable, slot::MonthlyCost, row));
    body += "</td></tr>";
}

}  // namespace

std::string BuildSearchResults(Catalogue& catalogue, SearchState& dialog,
                               const std::string& serverUrl, int sortSlot, int page,
                               std::vector<int>* shownOrder) {
    const int planCount = std::min(catalogue.PlanCount, kMaxRows);
    OrderByNumber(catalogue, PlanTable, sortSlot, planCount);
    std::string sortWord = sortWordOf(sortSlot);

    // A disk or traffic bound orders the first page after a search and is
    // then dropped, so that the next heading click takes effect; a price
    // bound orders every page.
    if (!dialog.Edit[2].empty()) {
        OrderByNumber(catalogue, PlanTable, slot::Traffic, planCount);
        sortWord = "traf";
        dialog.Edit[2].clear();
    }
    if (!dialog.Edit[1].empty()) {
        OrderByNumber(catalogue, PlanTable, slot::DiskMb, planCount);
        sortWord = "space";
        dialog.Edit[1].clear();
    }
    if (!dialog.Edit[6].empty()) {
        OrderByNumber(catalogue, PlanTable, slot::MonthlyCost, planCount);
        sortWord = "stoim";
    }

    std::vector<int> matches;
    matches.reserve(static_cast<size_t>(planCount));
    for (int k = 1; k <= planCount; ++k) {
        const int row = catalogue.OrderIndex[k];
        if (MatchesSearchCriteria(catalogue, dialog.criteria, row)) matches.push_back(row);
    }
    if (!dialog.Edit[6].empty()) std::reverse(matches.begin(), matches.end());
    const auto m = static_cast<long long>(matches.size());

    std::string body;
    body.reserve(4096);
    body += "<h3 align=\"center\">Поиск виртуального сервера</h3><font class=\"found\">Найдено:";
    body += formatInt(m);
    body +=
        " тарифных планов</font><form name=\"FormName\" action=\"http://srav\" "
        "method=\"get\"><input type=\"submit\" value=\"Сравнить\">";
    body +=
        "<table border=\"0\" CELLPADDING=\"5\"><tr bgcolor=\"#F4F4FF\"><td>Тарифный "
        "план</td><td>Хостинг-провайдер</td><td><a class=\"menu\" "
        "href=\"space\">Дисковое пространство(Мб)</a></td>";
    body +=
        "<td><a class=\"menu\" href=\"traf\">Трафик</a></td><td>Опции</td><td><a "
        "class=\"menu\" href=\"stoim\">Месячная стоимость(y.e.)</a></td></tr>";

    // A page number below 1 shows no rows rather than reading before the list.
    RowColour colour;
    const PageRows shown = pageRows(m, page);
    for (long long pos = shown.first; pos <= shown.last; ++pos) {
        appendRow(body, catalogue, serverUrl, matches[static_cast<size_t>(pos - 1)],
                  colour.toggle());
    }
    body += "</table></form>";

    // Without a match the row is there, with no links in it.
    const long long pages = pageCount(m);
    if (pages != 1) {
        body += pageLinkRow(pages,
                            [&sortWord](long long n) { return sortWord + "page" + formatInt(n); });
    }
    if (shownOrder != nullptr) *shownOrder = std::move(matches);
    return body;
}

}  // namespace zorbinta
