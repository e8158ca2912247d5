// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/StartPage.h"

#include <algorithm>
#include <vector>

#include "catalogue/core/Dates.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "router/core/PageParts.h"

namespace zorbinta {
namespace {

constexpr const char* kHeading = R"(<h3 align="center">Каталог хостинг-провайдеров</h3>)";
constexpr const char* kDownloadHint =
    "Свежий каталог загружается через интернет: меню «Сервис» &rarr; «Обновление».";
constexpr const char* kDamaged =
    "Файл каталога base.db повреждён или не читается, поэтому каталог не загружен.";
constexpr const char* kLoaderSaid = "Сообщение при загрузке: ";
constexpr const char* kRepairHint =
    "Исправный каталог можно загрузить через интернет: меню «Сервис» &rarr; «Обновление».";

// "1 предложение", "3 предложения", "8 предложений".
std::string offers(long long n) {
    const long long tens = n % 100;
    const long long units = n % 10;
    const char* word = "предложений";
    if (tens < 11 || tens > 14) {
        if (units == 1) word = "предложение";
        if (units >= 2 && units <= 4) word = "предложения";
    }
    return formatInt(n) + " " + word;
}

std::string factRow(const char* caption, const std::string& value) {
    return std::string("<tr><td class=td1>") + caption + "</td><td class=td2>" + value +
           "</td></tr>";
}

enum class Pick { Cheapest, MostDisk };

// Among the plans with a price: the cheapest (the larger disk breaks a tie)
// or the one with the most disk space (the lower price breaks a tie); the
// first row wins what is left. 0 when no plan has a price.
int pickPlan(const Catalogue& catalogue, Pick pick) {
    int best = 0;
    for (int r = 1; r <= std::min(catalogue.PlanCount, kMaxRows); ++r) {
        const double cost = catalogue.number(PlanTable, slot::MonthlyCost, r);
        if (!(cost > 0)) continue;
        if (best == 0) {
            best = r;
            continue;
        }
        const double disk = catalogue.number(PlanTable, slot::DiskMb, r);
        const double bestCost = catalogue.number(PlanTable, slot::MonthlyCost, best);
        const double bestDisk = catalogue.number(PlanTable, slot::DiskMb, best);
        const bool better = pick == Pick::Cheapest
                                ? cost < bestCost || (cost == bestCost && disk > bestDisk)
                                : disk > bestDisk || (disk == bestDisk && cost < bestCost);
        if (better) best = r;
    }
    return best;
}

std::string planRow(const Catalogue& catalogue, RowColour& colour, const char* caption, int r) {
    return listRow(
        colour, {caption, catalogue.text(PlanTable, slot::PlanName, r),
                 planProviderCell(catalogue, catalogue.number(PlanTable, slot::PlanProviderId, r),
                                  "&mdash;"),
                 planValueText(catalogue.number(PlanTable, slot::DiskMb, r)),
                 formatPrice(catalogue.number(PlanTable, slot::MonthlyCost, r))});
}

}  // namespace

// The greatest text is the latest; providers without a valid date do not
// count, so a stray text cannot pass for the newest.
std::string newestUpdate(const Catalogue& catalogue) {
    std::string newest;
    for (int p = 1; p <= std::min(catalogue.ProviderCount, kMaxRows); ++p) {
        const std::string& date = catalogue.text(ProviderTable, slot::UpdatedOn, p);
        if (isIsoDate(date) && date > newest) newest = date;
    }
    return newest;
}

std::string startPageUrl(const std::string& programDir) {
    return "file://" + programDir + "templ/main.htm";
}

std::string BuildStartPage(const Catalogue& catalogue, const std::string& version,
                           CatalogueFile file, const std::string& loadError) {
    if (file == CatalogueFile::Damaged) {
        std::string body = kHeading;
        body += "<p>";
        body += kDamaged;
        body += "</p><p>";
        body += kLoaderSaid;
        body += "<b>" + htmlEscaped(loadError) + "</b></p><p>";
        body += kRepairHint;
        body += "</p>";
        return body;
    }
    const int providers = std::clamp(catalogue.ProviderCount, 0, kMaxRows);
    const int plans = std::clamp(catalogue.PlanCount, 0, kMaxRows);
    const int free = std::clamp(catalogue.FreeHostCount, 0, kMaxRows);
    const int domains = std::clamp(catalogue.DomainEnd - 1, 0, kMaxRows);

    std::string body = kHeading;
    if (providers + plans + free + domains == 0) {
        body += file == CatalogueFile::Missing
                    ? "<p>Файл каталога base.db не найден: каталог пуст.</p>"
                    : "<p>Каталог пуст: в нём нет ни одного предложения.</p>";
        body += "<p>";
        body += kDownloadHint;
        body += "</p>";
        return body;
    }

    const std::string updated = newestUpdate(catalogue);
    body += "<table>";
    body += factRow("Версия каталога:", version.empty() ? "не указана" : version);
    body += factRow("Последнее обновление:", updated.empty() ? "не указано" : shownDate(updated));
    body += factRow("Хостинг-провайдеров:", formatInt(providers));
    body += factRow("Тарифных планов:", formatInt(plans));
    body +=
        factRow("Бесплатный хостинг:", R"(<a class="menu" href="free">)" + offers(free) + "</a>");
    body += factRow("Регистрация доменов:",
                    R"(<a class="menu" href="dom">)" + offers(domains) + "</a>");
    body += "</table>";

    body += "<h4 class=h4>С чего начать</h4><ul>";
    body +=
        "<li>Тарифный план по своим требованиям подберёт поиск: меню «Поиск» &rarr; "
        "«Виртуалный сервер».";
    body += R"(<li><a class="menu" href="free">Бесплатный хостинг</a>: все предложения.)";
    body += R"(<li><a class="menu" href="dom">Регистрация доменов</a>: цены по зонам.)";
    body += "<li>";
    body += kDownloadHint;
    body += "</ul>";

    const int cheapest = pickPlan(catalogue, Pick::Cheapest);
    if (cheapest > 0) {
        RowColour colour;
        body += R"(<h4 class=h4>Тарифные планы</h4><table border="0" CELLPADDING="5">)";
        body += listHead({"&nbsp;", "Тарифный план", "Хостинг-провайдер",
                          "Дисковое пространство(Мб)", "Месячная стоимость(y.e.)"});
        body += planRow(catalogue, colour, "Самый дешёвый", cheapest);
        body +=
            planRow(catalogue, colour, "Больше всего места", pickPlan(catalogue, Pick::MostDisk));
        body += "</table>";
    }

    if (providers > 0) {
        // By site address, as the provider list shows them.
        std::vector<int> rows(static_cast<size_t>(providers));
        for (int p = 1; p <= providers; ++p) rows[static_cast<size_t>(p - 1)] = p;
        std::stable_sort(rows.begin(), rows.end(), [&catalogue](int a, int b) {
            return compareCp1251(catalogue.text(ProviderTable, slot::WebAddress, a),
                                 catalogue.text(ProviderTable, slot::WebAddress, b)) < 0;
        });
        body += R"(<h4 class=h4>Хостинг-провайдеры</h4><div class="providers">)";
        for (const int p : rows) {
            body += providerCardLink(catalogue, p);
            body += "<br>";
        }
        body += "</div>";
    }
    return body;
}

}  // namespace zorbinta
