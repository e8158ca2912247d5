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

using testing::FakePlatform;
using testing::ProgramFolder;

// Providers 1 to 3; plan r of provider planProviders[r-1], 1 a month, paid monthly.
struct Offer {
    const char* zone;
    double provider, reg, renew, kind;
};
Catalogue catalogueOf(const std::vector<double>& planProviders, const std::vector<Offer>& offers) {
    Catalogue c;
    c.ProviderCount = 3;
    for (int p = 1; p <= 3; ++p) {
        c.number(ProviderTable, slot::ProviderId, p) = p;
        c.text(ProviderTable, slot::WebAddress, p) = "p" + std::to_string(p) + ".ru";
    }
    c.PlanCount = static_cast<int>(planProviders.size());
    for (int r = 1; r <= c.PlanCount; ++r) {
        c.text(PlanTable, slot::PlanName, r) = "Plan" + std::to_string(r);
        c.number(PlanTable, slot::PlanProviderId, r) = planProviders[static_cast<size_t>(r - 1)];
        c.number(PlanTable, slot::MonthlyCost, r) = 1;
        c.number(PlanTable, slot::MinPaymentPeriod, r) = 1;
    }
    c.DomainEnd = static_cast<int>(offers.size()) + 1;
    for (int r = 1; r < c.DomainEnd; ++r) {
        const Offer& o = offers[static_cast<size_t>(r - 1)];
        c.text(DomainTable, slot::Zone, r) = o.zone;
        c.number(DomainTable, slot::DomainProviderId, r) = o.provider;
        c.number(DomainTable, slot::RegistrationPrice, r) = o.reg;
        c.number(DomainTable, slot::RenewalPrice, r) = o.renew;
        c.number(DomainTable, slot::ClientKind, r) = o.kind;
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
    c.number(PlanTable, slot::MinPaymentPeriod, 1) = 5;   // does not divide 12 or 24
    c.number(PlanTable, slot::MinPaymentPeriod, 2) = 0;   // counts as 1
    c.number(PlanTable, slot::MinPaymentPeriod, 4) = 48;  // longer than the years
    c.number(PlanTable, slot::MonthlyCost, 4) = 0.5;
    const struct {
        const char* zone;
        int years;
        const char* rows;  // plan:offer:months:total, in the list's order
        int leftOut;
    } cases[] = {
        // Plan 1 gets its provider's own cheapest hosting-client price; the
        // others the cheapest for anyone, the lower row among equals.
        {".ru", 1, "2:1:12:17 3:1:12:17 1:4:15:18 4:1:48:29 ", 0},
        // Over two years its own dearer offer wins, and stays dearer than
        // the price for anyone; equal totals go by plan row.
        {".ru", 2, "2:1:24:34 3:1:24:34 4:1:48:34 1:2:25:41 ", 0},
        // Only provider 1's own clients get a .com domain; nobody an .org one.
        {".com", 3, "1:6:40:46 ", 3},
        {".org", 1, "", 4},
        {nullptr, 1, "2:0:12:12 3:0:12:12 1:0:15:15 4:0:48:24 ", 0},
    };
    SearchState search;
    for (const auto& x : cases) {
        const std::string zone = x.zone ? x.zone : "";
        const CostList list = computeCosts(c, search, x.zone ? &zone : nullptr, x.years, false);
        std::ostringstream rows;
        for (const CostRow& r : list.rows) {
            EXPECT_EQ(r.total, r.hosting + r.domain);
            rows << r.plan << ':' << r.offer << ':' << r.months << ':' << r.total << ' ';
        }
        EXPECT_EQ(rows.str(), x.rows) << zone << " " << x.years;
        EXPECT_EQ(list.leftOut, x.leftOut) << zone << " " << x.years;
    }
}

TEST(CostPage, HeadingFormAndRows) {
    const Catalogue c = catalogueOf({1}, {{".ru", 2, 5, 3, 0}, {".com", 1, 1, 1, 0}});
    SearchState search;
    const char* years[] = {"", "1 год", "2 года", "3 года", "4 года", "5 лет"};
    for (int n = 1; n <= 5; ++n) {
        for (const int zone : {0, 1}) {
            const std::string page = BuildCostPage(c, search, {zone, n, true, 1});
            EXPECT_NE(page.find(std::string("<h4>Стоимость сайта за ") + years[n] +
                                (zone == 0 ? " без домена" : " в зоне .ru") +
                                "</h4><font class=\"found\">Тарифных планов: 1</font>"),
                      std::string::npos);
            // No current search: disabled and clear, whatever was asked.
            EXPECT_NE(page.find("name=\"s\" value=\"1\" disabled>"), std::string::npos);
        }
    }
    // The defaults: the first zone, one year.
    const std::string ru = BuildCostPage(c, search, {});
    EXPECT_NE(ru.find("<option value=\"0\">без домена</option><option value=\"1\" selected>.ru"
                      "</option><option value=\"2\">.com</option></select>"),
              std::string::npos);
    EXPECT_NE(ru.find("<option value=\"1\" selected>1 год</option>"), std::string::npos);
    EXPECT_NE(ru.find("<tr bgcolor=\"#FFE6CC\"><td><a class=\"menu\" href=\"provid=1\">Plan1</a>"
                      "</td><td>p1.ru</td><td>12</td><td>12,00</td><td>5,00</td><td>p2.ru</td>"
                      "<td>17,00</td><td>1,41666666666667</td></tr>"),
              std::string::npos);
    search.searched = true;
    search.criteria.Bounds[6] = kUnlimited;
    const std::string none = BuildCostPage(c, search, {0, 2, true, 1});
    EXPECT_NE(none.find("name=\"s\" value=\"1\" checked>"), std::string::npos);
    EXPECT_NE(none.find("<td>24</td><td>24,00</td><td>0,00</td><td></td><td>24,00</td>"
                        "<td>1,00</td></tr>"),
              std::string::npos);
    EXPECT_NE(BuildCostPage(catalogueOf({1}, {}), search, {})
                  .find("<option value=\"0\" selected>без домена</option></select>"),
              std::string::npos);
}

TEST(CostPage, LeftOutPlansAreCountedAndPagesLinked) {
    const Catalogue c = catalogueOf(std::vector<double>(33, 1), {{".ru", 2, 5, 3, 1}});
    SearchState search;
    const std::string page = BuildCostPage(c, search, {1, 1, false, 1});
    EXPECT_NE(page.find("Тарифных планов: 0</font><br><font class=\"small\">Не вошли в список "
                        "тарифных планов: 33 "),
              std::string::npos);
    EXPECT_EQ(page.find("Страницы: "), std::string::npos);
    // Without a domain all 33: three pages, the last holding three rows.
    search.searched = true;
    search.criteria.Bounds[6] = kUnlimited;
    const std::string third = BuildCostPage(c, search, {0, 4, true, 3});
    EXPECT_NE(third.find("Страницы: <a class=\"menu\" href=\"itog?z=0&n=4&s=1&list=1\">1</a> "
                         "<a class=\"menu\" href=\"itog?z=0&n=4&s=1&list=2\">2</a> "
                         "<a class=\"menu\" href=\"itog?z=0&n=4&s=1&list=3\">3</a> "),
              std::string::npos);
    EXPECT_NE(third.find("Plan31</a></td><td>p1.ru</td><td>48</td>"), std::string::npos);
    EXPECT_EQ(third.find("Plan30<"), std::string::npos);
}

bool isCostPage(const std::string& page) {
    return page.find("<h3 align=\"center\">Стоимость сайта</h3>") != std::string::npos;
}

// Through the router of a program on the sample catalogue, after a search.
TEST(CostPage, ItsLocationsReachItAloneAndNoOtherDoes) {
    ProgramFolder folder;
    std::filesystem::copy_file(ZORBINTA_SOURCE_DIR "/data/base.db", folder.dir / "base.db");
    FakePlatform fake;
    Application app(fake.platform(), ProgramFiles(folder.path()), "http://srv");
    app.main.start();
    app.search.searched = true;
    app.search.criteria.Bounds[6] = kUnlimited;
    auto pagesFor = [&fake](const std::string& location) {
        fake.pane.pages.clear();
        fake.pane.navigate(location);
        fake.pane.processAll();
        std::vector<std::string> pages;
        for (const auto& shown : fake.pane.pages) pages.push_back(shown.page);
        return pages;
    };
    const std::string templ = "file://" + folder.path() + "templ/";
    const std::vector<std::string> zones = costZones(app.catalogue);
    ASSERT_EQ(zones.size(), 12u);

    // The menu's, every way to send the form, and every page link those show.
    std::vector<std::string> ours = {templ + "main.htm?itog"};
    for (size_t z = 0; z <= zones.size(); ++z) {
        for (int n = 1; n <= kMaxCostYears; ++n) {
            for (const char* tick : {"", "&s=1"}) {
                ours.push_back(templ + "itog?z=" + std::to_string(z) + "&n=" + std::to_string(n) +
                               tick);
            }
        }
    }
    const std::regex link("href=\"(itog\\?[^\"]*)\"");
    for (size_t k = 0, forms = ours.size(); k < forms; ++k) {
        const std::vector<std::string> pages = pagesFor(ours[k]);
        ASSERT_EQ(pages.size(), 1u) << ours[k];
        for (auto it = std::sregex_iterator(pages[0].begin(), pages[0].end(), link);
             it != std::sregex_iterator(); ++it) {
            ours.push_back(templ + (*it)[1].str());
        }
    }
    ASSERT_GT(ours.size(), 1u + 13 * 5 * 2);
    for (const std::string& location : ours) {
        const std::vector<std::string> pages = pagesFor(location);
        ASSERT_EQ(pages.size(), 1u) << location;
        EXPECT_TRUE(isCostPage(pages[0])) << location;
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
        for (const char* kind : {"", "&norh=0", "&norh=1"}) {
            theirs.push_back("http://dom/?zona=" + zone + "%7C" + kind);
        }
        theirs.push_back("http://dom/domregzona=" + zone + "%7Cnorh=1");
        theirs.push_back("http://dom/domprodzona=" + zone + "%7Cnorh=0page2");
    }
    for (const std::string& location : theirs) {
        for (const std::string& page : pagesFor(location)) {
            EXPECT_FALSE(isCostPage(page)) << location;
        }
    }
}

}  // namespace
}  // namespace zorbinta
