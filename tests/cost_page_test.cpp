// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/CostPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

// Providers 1 to 3 (site pN.ru); plan r of provider plans[r-1], 1 a month, paid monthly.
struct Offer {
    const char* zone;
    double provider, reg, renew, kind;
};
Catalogue catalogueOf(const std::vector<double>& plans, const std::vector<Offer>& offers) {
    Catalogue c;
    c.ProviderCount = 3;
    for (int p = 1; p <= 3; ++p) {
        c.number(ProviderTable, slot::ProviderId, p) = p;
        c.text(ProviderTable, slot::WebAddress, p) = "p" + std::to_string(p) + ".ru";
    }
    for (const double provider : plans) {
        const int r = ++c.PlanCount;
        c.text(PlanTable, slot::PlanName, r) = "Plan" + std::to_string(r);
        c.number(PlanTable, slot::PlanProviderId, r) = provider;
        c.number(PlanTable, slot::MonthlyCost, r) = c.number(PlanTable, slot::MinPaymentPeriod, r) =
            1;
    }
    for (c.DomainEnd = 1; const Offer& o : offers) {
        c.text(DomainTable, slot::Zone, c.DomainEnd) = o.zone;
        const double values[] = {o.provider, o.reg, o.renew, o.kind};
        for (int k = 0; k < 4; ++k)
            c.number(DomainTable, slot::DomainProviderId + k, c.DomainEnd) = values[k];
        ++c.DomainEnd;
    }
    return c;
}

TEST(CostPage, PlansCostedWithTheirDomainAndRanked) {
    // Plan 4's provider is not in the catalogue; offer 5 is for nobody (kind 2).
    Catalogue c = catalogueOf({1, 2, 3, 9}, {{".ru", 2, 5, 5, 0},
                                             {".ru", 1, 8, 8, 1},
                                             {".ru", 3, 5, 5, 0},
                                             {".ru", 1, 3, 20, 1},
                                             {".ru", 2, 0, 0, 2},
                                             {".com", 1, 2, 2, 1}});
    c.number(PlanTable, slot::MinPaymentPeriod, 1) = 5;   // divides neither 12 nor 24
    c.number(PlanTable, slot::MinPaymentPeriod, 2) = 0;   // counts as 1
    c.number(PlanTable, slot::MinPaymentPeriod, 4) = 48;  // longer than the years
    c.number(PlanTable, slot::MonthlyCost, 4) = 0.5;
    const struct {
        const char* zone;
        int years;
        const char* rows;  // plan:offer:months:total in the list's order
        int leftOut;
    } cases[] = {
        // Plan 1: its provider's cheapest own-client price; the others: the
        // cheapest price for anyone, the lower row of two equal ones.
        {".ru", 1, "2:1:12:17 3:1:12:17 1:4:15:18 4:1:48:29 ", 0},
        // Its own offers, though dearer than the one for anyone; equal totals by plan row.
        {".ru", 2, "2:1:24:34 3:1:24:34 4:1:48:34 1:2:25:41 ", 0},
        {".com", 3, "1:6:40:46 ", 3},  // only provider 1 registers it, for its own clients
        {".org", 1, "", 4},
        {nullptr, 1, "2:0:12:12 3:0:12:12 1:0:15:15 4:0:48:24 ", 0},
    };
    for (const auto& x : cases) {
        const std::string zone = x.zone ? x.zone : "";
        const CostList list = computeCosts(c, {}, x.zone ? &zone : nullptr, x.years, false);
        std::ostringstream rows;
        for (const CostRow& r : list.rows) {
            rows << r.plan << ':' << r.offer << ':' << r.months << ':' << r.total << ' ';
        }
        EXPECT_EQ(rows.str(), x.rows) << zone << x.years;
        EXPECT_EQ(list.leftOut, x.leftOut) << zone << x.years;
    }
}

TEST(CostPage, HeadingsRowsBoxAndPages) {
    const Catalogue c = catalogueOf({1}, {{".ru", 2, 5, 3, 0}});
    const char* years[] = {"", "1 год", "2 года", "3 года", "4 года", "5 лет"};
    for (int n = 1; n <= 5; ++n) {
        for (const int zone : {0, 1}) {
            EXPECT_NE(BuildCostPage(c, {}, {zone, n, true, 1})
                          .find(std::string("<h4>Стоимость сайта за ") + years[n] +
                                (zone == 0 ? " без домена" : " в зоне .ru") +
                                "</h4><font class=\"found\">Тарифных планов: 1</font>"),
                      std::string::npos);
        }
    }
    // The defaults; without a current search the box is disabled and clear.
    const std::string ru = BuildCostPage(c, {}, {-1, 1, true, 1});
    for (const char* part :
         {"<option value=\"1\" selected>.ru</option></select>", "value=\"1\" disabled>",
          "<td><a class=\"menu\" href=\"provid=1\">Plan1</a></td><td>p1.ru</td><td>12</td>"
          "<td>12,00</td><td>5,00</td><td>p2.ru</td><td>17,00</td><td>1,41666666666667</td>"}) {
        EXPECT_NE(ru.find(part), std::string::npos) << part;
    }
    // 33 plans, none with a domain offer for .ru; all 33 without a domain.
    const Catalogue many = catalogueOf(std::vector<double>(33, 1), {{".ru", 2, 5, 3, 1}});
    EXPECT_NE(BuildCostPage(many, {}, {})
                  .find("Тарифных планов: 0</font><br><font "
                        "class=\"small\">Не вошли в список тарифных планов: 33"),
              std::string::npos);
    SearchState search;
    search.searched = true;
    search.criteria.Bounds[6] = kUnlimited;
    const std::string third = BuildCostPage(many, search, {0, 4, true, 3});
    for (const char* part : {"value=\"1\" checked>",
                             "Страницы: <a class=\"menu\" href=\"itog?z=0&n=4&s=1&list=1\">1</a> ",
                             "<a class=\"menu\" href=\"itog?z=0&n=4&s=1&list=3\">3</a> ",
                             "Plan31</a></td><td>p1.ru</td><td>48</td><td>48,00</td><td>0,00</td>"
                             "<td></td><td>48,00</td><td>1,00</td></tr>"}) {
        EXPECT_NE(third.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(third.find("Plan30<"), std::string::npos);
}

// Through the router of a program on the sample catalogue, after a search.
TEST(CostPage, ItsLocationsReachItAloneAndNoOtherDoes) {
    testing::ProgramFolder folder;
    std::filesystem::copy_file(ZORBINTA_SOURCE_DIR "/data/base.db", folder.dir / "base.db");
    testing::FakePlatform fake;
    Application app(fake.platform(), ProgramFiles(folder.path()), "http://srv");
    app.main.start();
    app.search.searched = true;
    app.search.criteria.Bounds[6] = kUnlimited;
    auto pagesFor = [&fake](const std::string& location) {
        fake.pane.pages.clear();
        fake.pane.navigate(location);
        fake.pane.processAll();
        return fake.pane.pages;
    };
    auto isCost = [](const auto& shown) {
        return shown.page.find("Стоимость сайта</h3>") != std::string::npos;
    };
    const std::string templ = "file://" + folder.path() + "templ/";
    const std::vector<std::string> zones = costZones(app.catalogue);
    ASSERT_EQ(zones.size(), 12u);

    // The menu's, every way to send the form, and the page links these show.
    std::vector<std::string> ours = {templ + "main.htm?itog"};
    for (size_t z = 0; z <= zones.size(); ++z) {
        for (int n = 1; n <= kMaxCostYears; ++n) {
            const std::string form =
                templ + "itog?z=" + std::to_string(z) + "&n=" + std::to_string(n);
            ours.insert(ours.end(), {form, form + "&s=1"});
        }
    }
    const std::regex link("href=\"(itog\\?[^\"]*)\"");
    for (size_t k = 0, forms = ours.size(); k < forms; ++k) {
        const std::string page = pagesFor(ours[k]).at(0).page;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
             it != std::sregex_iterator(); ++it) {
            ours.push_back(templ + (*it)[1].str());
        }
    }
    ASSERT_GT(ours.size(), 1u + 13 * 5 * 2);
    for (const std::string& location : ours) {
        const auto pages = pagesFor(location);
        EXPECT_TRUE(pages.size() == 1 && isCost(pages[0])) << location;
    }
    EXPECT_TRUE(fake.errors.empty());

    std::vector<std::string> theirs = {"http://srav/?", "http://srav/?nom=1&nom=2"};
    for (const char* command :
         {"main.htm", "main.htm?stoim", "space", "traf", "stoimpage2", "trafpage2", "spacepage3",
          "main.htm?free", "main.htm?dom", "domregpage2", "domprodpage1", "main.htm?provid=1",
          "main.htm?izmen", "izmen=1-3-1-1-2-1", "main.htm?nochange"}) {
        theirs.push_back(templ + command);
    }
    for (const std::string& zone : zones) {
        for (const char* rest : {"%7C", "%7C&norh=0", "%7C&norh=1"})
            theirs.push_back("http://dom/?zona=" + zone + rest);
        theirs.push_back("http://dom/domregzona=" + zone + "%7Cnorh=1");
        theirs.push_back("http://dom/domprodzona=" + zone + "%7Cnorh=0page2");
    }
    for (const std::string& location : theirs) {
        for (const auto& shown : pagesFor(location)) EXPECT_FALSE(isCost(shown)) << location;
    }
}

}  // namespace
}  // namespace zorbinta
