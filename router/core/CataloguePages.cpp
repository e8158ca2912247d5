// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/CataloguePages.h"

#include <algorithm>

#include "catalogue/core/Numbers.h"
#include "pages/core/Ordering.h"
#include "pages/core/PageOutput.h"
#include "pages/core/Paging.h"
#include "router/core/PageParts.h"

namespace zorbinta {
namespace {

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string out;
    size_t from = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, from)) {
        out.append(text, from, at - from);
        out += with;
        from = at + what.size();
    }
    out.append(text, from);
    return out;
}

}  // namespace

std::string BuildDomainPage(Catalogue& catalogue, const DomainParams& params, RowColour& colour,
                            const std::string& serverUrl, std::vector<int>* shownOrder) {
    const int offers = std::clamp(catalogue.DomainEnd - 1, 0, kMaxRows);
    const bool filtered = !params.zone.empty();
    auto listed = [&](int row) {
        return !filtered || (catalogue.text(DomainTable, slot::Zone, row) == params.zone &&
                             catalogue.number(DomainTable, slot::ClientKind, row) ==
                                 static_cast<double>(params.clientKind));
    };

    std::string body;
    body +=
        R"(<h3 align="center">Регистрация доменов</h3><table><tr><td valign="top">Выбрать:<form action="http://dom">)";
    body +=
        R"(<select name="zona" size="1"><option value=".ru|">.ru</option><option value=".com|">.com</option><option value=".net|">.net</option><option value=".org|">.org</option><option value=".biz|">.biz</option><option value=".info|">.info</option>)";
    body +=
        R"(<option value=".com.ru|">.com.ru</option><option value=".net.ru|">.net.ru</option><option value=".org.ru|">.org.ru</option><option value=".pp.ru|">.pp.ru</option><option value=".spb.ru|">.spb.ru</option><option value=".msk.ru|">.msk.ru</option>)";
    body +=
        R"(</select><br>Для клиентов:<table><tr><td><input type="radio" name="norh" value="0">не заказавших хостинг(по умолчанию)</td></tr><tr><td><input type="radio" name="norh" value="1">заказавших хостинг</td></tr></table><br>)";
    body +=
        R"(<input type="submit" name="" value="Показать"></form></td><td><table align="center" border="2" cellpadding="5"><tr bgcolor="#F4F4FF"><td>Зона</td><td>Хостинг-провайдер</td><td><a class=menu href="domreg)";
    body += params.query;
    body += R"(">Регистрация</a></td>)";
    body += R"(<td><a class=menu href="domprod)";
    body += params.query;
    body += R"(">Продление</a></td></tr>)";

    switch (params.order) {
        case DomainOrder::Registration:
            OrderByNumber(catalogue, DomainTable, slot::RegistrationPrice, offers);
            break;
        case DomainOrder::Renewal:
            OrderByNumber(catalogue, DomainTable, slot::RenewalPrice, offers);
            break;
        case DomainOrder::Zone:
            OrderByText(catalogue, DomainTable, slot::Zone, offers);
            break;
    }

    // The offers on show, in order; a zone narrows the list before it is
    // paged, so every match is on exactly one page.
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(offers));
    for (int pos = 1; pos <= offers; ++pos) {
        const int row = catalogue.OrderIndex[pos];
        if (listed(row)) rows.push_back(row);
    }
    const auto m = static_cast<long long>(rows.size());

    const PageRows shown = pageRows(m, params.page);
    for (long long pos = shown.first; pos <= shown.last; ++pos) {
        const int row = rows[static_cast<size_t>(pos - 1)];
        const std::string registration =
            formatPrice(catalogue.number(DomainTable, slot::RegistrationPrice, row));
        const std::string renewal =
            formatPrice(catalogue.number(DomainTable, slot::RenewalPrice, row));
        const double providerId = catalogue.number(DomainTable, slot::DomainProviderId, row);
        body += R"(<tr bgcolor=")";
        body += colour.toggle();
        body += R"("><td>)";
        body += catalogue.text(DomainTable, slot::Zone, row);
        body += R"(</td><td><a class="menu" target="new" href=")";
        body += serverUrl;
        body += "/stat.php?id=";
        // Without a provider row the link still names the id the offer
        // carries, and the name stays empty.
        body += formatInt(roundToInt(providerId));
        body += R"(">)";
        body += providerAddressOf(catalogue, providerId);
        body += "</a></td><td>";
        body += registration;
        body += "</td><td>";
        body += renewal;
        body += "</td></tr>";
    }
    body += "</table></td></tr></table>";

    const long long pages = pageCount(m);
    if (pages > 1) {
        body += pageLinkRow(pages, [&params](long long n) {
            return "dom" + params.linkPrefix + "page" + formatInt(n);
        });
    }
    if (shownOrder != nullptr) *shownOrder = std::move(rows);
    return body;
}

std::string BuildFreeHostPage(Catalogue& catalogue, const std::string& serverUrl,
                              std::vector<int>* shownOrder) {
    const int offers = std::clamp(catalogue.FreeHostCount, 0, kMaxRows);
    std::string body = R"(<h3 align="center">Бесплатный хостинг</h3>)";
    OrderByText(catalogue, FreeHostTable, slot::FreeAddress, offers);

    auto row = [&body](const char* caption, const std::string& value) {
        body += R"(<tr><td width="200" bgcolor="#F4F4FF">)";
        body += caption;
        body += R"(</td><td bgcolor="#FFE6CC">)";
        body += value;
        body += "</td></tr>";
    };
    for (int pos = 1; pos <= offers; ++pos) {
        const int r = catalogue.OrderIndex[pos];
        body += R"(<table width="100%">)";
        body += R"(<tr><td width="200" bgcolor="#F4F4FF">)";
        body += FreeHostCaptions[1];
        body += R"(</td><td bgcolor="#FFE6CC"><a class="menu" href=")";
        body += serverUrl;
        body += "/stat.php?id=";
        body += formatGeneral(catalogue.number(FreeHostTable, slot::FreeOfferId, r));
        body += R"(&type=2" target="new">)";
        body += catalogue.text(FreeHostTable, slot::FreeAddress, r);
        body += "</a></td></tr>";
        const double disk = catalogue.number(FreeHostTable, slot::FreeDiskMb, r);
        row(FreeHostCaptions[2],
            disk == kFreeDiskUnlimited ? std::string("Неогр.") : formatGeneral(disk));
        row(FreeHostCaptions[4], catalogue.text(FreeHostTable, slot::FreeAdvertising, r));
        row(FreeHostCaptions[3], catalogue.text(FreeHostTable, slot::FreeServices, r));
        row(FreeHostCaptions[5], catalogue.text(FreeHostTable, slot::FreeComment, r));
        body += "</table><br>";
    }
    if (shownOrder != nullptr) {
        shownOrder->assign(catalogue.OrderIndex.begin() + 1,
                           catalogue.OrderIndex.begin() + 1 + offers);
    }
    return body;
}

std::string BuildComparePage(const Catalogue& catalogue, const std::vector<int>& rows,
                             RowColour& colour, const std::string& serverUrl) {
    // Only rows of the plan table get a column; a location edited by hand
    // may name others.
    std::vector<int> plans;
    std::vector<long long> providerNumbers;
    std::vector<std::string> providerNames;
    for (const int r : rows) {
        if (r < 1 || r > std::min(catalogue.PlanCount, kMaxRows)) continue;
        const double providerId = catalogue.number(PlanTable, slot::PlanProviderId, r);
        plans.push_back(r);
        providerNumbers.push_back(roundToInt(providerId));
        providerNames.push_back(providerAddressOf(catalogue, providerId));
    }

    std::string body =
        R"(<h3 align="center">Сравнение тарифных планов</h3><table align=center border=1>)";
    body += "<tr bgcolor=";
    body += colour.toggle();
    body += "><td>Хостинг-провайдер</td>";
    for (size_t i = 0; i < plans.size(); ++i) {
        body += R"(<td class=name align=center><a class="menu" target="new" href=")";
        body += serverUrl;
        body += "/stat.php?id=";
        body += formatInt(providerNumbers[i]);
        body += "&type=1&nom=";
        body += formatGeneral(catalogue.number(PlanTable, slot::PlanNumber, plans[i]));
        body += R"(">)";
        body += providerNames[i];
        body += "</a></td>";
    }
    body += "</tr>";
    BuildPlanColumns(body, catalogue, plans, providerNumbers, colour, serverUrl);
    body += "</table>";
    return body;
}

void BuildPlanColumns(std::string& body, const Catalogue& catalogue, const std::vector<int>& plans,
                      const std::vector<long long>& providerNumbers, RowColour& colour,
                      const std::string& serverUrl) {
    // Rows outside the plan table get no column.
    std::vector<std::pair<int, long long>> columns;
    for (size_t i = 0; i < plans.size(); ++i) {
        if (plans[i] < 1 || plans[i] > kMaxRows) continue;
        columns.emplace_back(plans[i], i < providerNumbers.size() ? providerNumbers[i] : 0);
    }
    auto flagCells = [&](int flagSlot) {
        for (const auto& [r, provider] : columns) {
            body += "<td align=center>";
            body += catalogue.flag(PlanTable, flagSlot, r) ? "+" : "-";
            body += "</td>";
        }
    };

    for (int s = 1; s <= 25; ++s) {
        const std::string& rowColour = colour.toggle();
        if (s == 10) {
            // The separator spans the table; PHP, whose caption the separator
            // takes, follows in a row of its own so that all options show.
            body += "<tr><td colspan=";
            body += formatInt(static_cast<long long>(columns.size()) + 1);
            body += ">&nbsp;</td></tr>";
            body += "<tr bgcolor=";
            body += rowColour;
            body += "><td>";
            body += PlanCaptions[10];
            body += "</td>";
            flagCells(slot::HasPhp);
            body += "</tr>";
            continue;
        }
        if (s == 25) {
            body += "<tr><td>&nbsp;</td>";
        } else {
            body += "<tr bgcolor=";
            body += rowColour;
            body += "><td>";
            body += PlanCaptions[s];
            body += "</td>";
        }
        if (s >= 11 && s <= 24) {
            flagCells(s - 9);
        } else {
            for (const auto& [r, provider] : columns) {
                if (s == 1) {
                    body += "<td class=name align=center>";
                    body += catalogue.text(PlanTable, slot::PlanName, r);
                    body += "</td>";
                } else if (s <= 9) {
                    body += "<td align=center>";
                    body += planValueText(catalogue.number(PlanTable, s + 1, r));
                    body += "</td>";
                } else {
                    body += R"(<td class=name align=center><a class="menu" target="new" href=")";
                    body += serverUrl;
                    body += "/stat.php?id=";
                    body += formatInt(provider);
                    body += "&type=1&nom=";
                    body += formatGeneral(catalogue.number(PlanTable, slot::PlanNumber, r));
                    body += R"(">Заказать</a></td>)";
                }
            }
        }
        body += "</tr>";
    }
}

std::string BuildProviderPage(const Catalogue& catalogue, int providerNumber, RowColour& colour,
                              const std::string& serverUrl) {
    // The last row carrying the number; none leaves every text empty and
    // every flag off.
    const int provider = providerRowOf(catalogue, static_cast<double>(providerNumber));
    static const std::string kEmpty;
    auto text = [&](int textSlot) -> const std::string& {
        return provider > 0 ? catalogue.text(ProviderTable, textSlot, provider) : kEmpty;
    };
    auto flag = [&](int flagSlot) {
        return provider > 0 && catalogue.flag(ProviderTable, flagSlot, provider);
    };
    const std::string number = formatInt(providerNumber);

    const std::string& site = text(slot::WebAddress);
    const auto dot = site.find('.');
    std::string body = R"(<h3 align="center">)";
    body += CapitalizeWords(dot == std::string::npos ? std::string_view()
                                                     : std::string_view(site).substr(0, dot));
    body += "</h3><table>";
    if (!text(slot::FirmName).empty()) {
        body += "<tr><td class=td1>Название фирмы:</td><td  class=td2>";
        body += text(slot::FirmName);
        body += "</td></tr>";
    }
    if (!text(slot::Address).empty()) {
        body += "<tr><td class=td1>Адрес</td><td class=td2>";
        body += text(slot::Address);
        body += "</td></tr>";
    }
    // The telephone row opens for any telephone with a code.
    const std::pair<int, int> phones[] = {{slot::Phone1Code, slot::Phone1Number},
                                          {slot::Phone2Code, slot::Phone2Number},
                                          {slot::Phone3Code, slot::Phone3Number}};
    bool phoneRow = false;
    for (const auto& [code, phone] : phones) {
        if (text(code).empty()) continue;
        if (!phoneRow) body += "<tr><td class=td1>Телефон</td><td class=td2>";
        phoneRow = true;
        body += " (";
        body += text(code);
        body += ") ";
        body += text(phone);
    }
    if (phoneRow) body += "</td></tr>";

    body += R"(<tr><td class=td1>URL</td><td class=td2><a class=menu  href=")";
    body += serverUrl;
    body += "/stat.php?id=";
    body += number;
    body += R"(" target="new">)";
    body += site;
    body += "</a></td></tr>";
    body += R"(<tr><td class=td1>E-mail</td><td class=td2><a class=menu href="mailto:)";
    body += text(slot::Email);
    body += R"(">)";
    body += text(slot::Email);
    body += "</a></td></tr>";

    body += "<tr><td class=td1>Дата обновления:</td><td class=td2>";
    body += shownDate(text(slot::UpdatedOn));
    body += "</td></tr></table><table align=center border=1>";

    std::vector<int> plans;
    for (int r = 1; r <= std::min(catalogue.PlanCount, kMaxRows); ++r) {
        if (catalogue.number(PlanTable, slot::PlanProviderId, r) ==
            static_cast<double>(providerNumber)) {
            plans.push_back(r);
        }
    }
    BuildPlanColumns(body, catalogue, plans, std::vector<long long>(plans.size(), providerNumber),
                     colour, serverUrl);
    body += "</table>";

    if (!text(slot::ExtraInfo).empty()) {
        body += "<h4 class=h4 align=center>Дополнительная информация</h4>";
        body += replaceAll(text(slot::ExtraInfo), "?*?", "<br>");
    }
    body += "<h4 class=h4 align=center>Способы оплаты</h4><ol>";
    for (int f = 1; f <= 10; ++f) {
        if (!flag(f)) continue;
        body += "<li>";
        body += PaymentCaptions[f];
    }
    body += "</ol>";
    return body;
}

}  // namespace zorbinta
