// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/CostPage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

using testing::FakePlatform;
using testing::ProgramFolder;

TEST(CostPage, MonthsPaidAreWholeMinimumPeriods) {
    const struct {
        double period;
        int years;
        double months;
    } cases[] = {{1, 1, 12},   {12, 3, 36},    {5, 1, 15},   {7, 2, 28},       {5, 5, 60},
                 {36, 2, 36},  {24, 1, 24},    {0, 1, 12},   {-3, 2, 24},      {0.5, 4, 48},
                 {1.5, 1, 12}, {2.5, 1, 12.5}, {0.1, 1, 12}, {99999, 1, 99999}};
    for (const auto& c : cases) {
        EXPECT_EQ(monthsPaid(c.period, c.years), c.months) << c.period << " " << c.years;
    }
}

// Providers 1 to 3; plan r of provider planProviders[r-1] costing 1 a month.
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

// The offer row each plan gets, 0 for a plan left out.
std::vector<int> offersPerPlan(const CostList& list, int plans) {
    std::vector<int> offers(static_cast<size_t>(plans), 0);
    for (const CostRow& row : list.rows) offers[static_cast<size_t>(row.plan - 1)] = row.offer;
    return offers;
}

TEST(CostPage, DomainOfferChosenForEachPlan) {
    // Plans of providers 1, 2, 3 and of one the catalogue does not hold.
    const Catalogue c = catalogueOf({1, 2, 3, 9}, {
                                                      {".ru", 2, 5, 5, 0},
                                                      {".ru", 1, 8, 8, 1},
                                                      {".ru", 3, 5, 5, 0},
                                                      {".ru", 1, 3, 20, 1},
                                                      {".ru", 2, 0, 0, 2},
                                                      {".spb.ru", 3, 1, 1, 0},
                                                      {".com", 1, 2, 2, 1},
                                                      {".net", 2, 1, 1, 2},
                                                  });
    const struct {
        const char* zone;
        int years;
        std::vector<int> offers;
        int leftOut;
    } cases[] = {
        // The provider's own hosting-client price, though dearer than another's
        // price for anyone; the cheaper own one for one year, the other for two.
        // Equal prices elsewhere: the lower row. Kind 2 counts for nobody.
        {".ru", 1, {4, 1, 1, 1}, 0},
        {".ru", 2, {2, 1, 1, 1}, 0},
        // One registrar for everybody.
        {".spb.ru", 1, {6, 6, 6, 6}, 0},
        // Only provider 1's own clients get a .com domain.
        {".com", 3, {7, 0, 0, 0}, 3},
        {".net", 1, {0, 0, 0, 0}, 4},
        {".org", 1, {0, 0, 0, 0}, 4},
    };
    SearchState search;
    for (const auto& x : cases) {
        const std::string zone = x.zone;
        const CostList list = computeCosts(c, search, &zone, x.years, false);
        EXPECT_EQ(offersPerPlan(list, 4), x.offers) << x.zone << " " << x.years;
        EXPECT_EQ(list.leftOut, x.leftOut) << x.zone << " " << x.years;
    }
}

TEST(CostPage, TotalsOrderTheListTiesByPlanRow) {
    // Plan r: monthly price and minimum period as listed, all of provider 1.
    Catalogue c = catalogueOf({1, 1, 1, 1, 1}, {{".ru", 1, 10, 4, 1}});
    const double prices[] = {2, 1, 1, 0.5, 2};
    const double periods[] = {1, 7, 1, 48, 1};
    for (int r = 1; r <= 5; ++r) {
        c.number(PlanTable, slot::MonthlyCost, r) = prices[r - 1];
        c.number(PlanTable, slot::MinPaymentPeriod, r) = periods[r - 1];
    }
    const std::string zone = ".ru";
    SearchState search;
    const CostList list = computeCosts(c, search, &zone, 2, false);
    // Hosting 48, 28, 24, 24 (a period longer than the years), 48, plus the domain 10 + 4.
    std::vector<int> order;
    std::vector<double> totals;
    for (const CostRow& row : list.rows) {
        order.push_back(row.plan);
        totals.push_back(row.total);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 4, 2, 1, 5}));
    EXPECT_EQ(totals, (std::vector<double>{38, 38, 42, 62, 62}));
}

TEST(CostPage, TheTickBoxKeepsThePlansOfTheCurrentSearch) {
    Catalogue c = catalogueOf({1, 2, 3}, {});
    c.number(PlanTable, slot::MonthlyCost, 2) = 50;
    SearchState search;
    search.criteria.Bounds[6] = 10;
    const struct {
        bool searched, ticked;
        size_t rows;
    } cases[] = {{false, true, 3}, {true, false, 3}, {true, true, 2}};
    for (const auto& x : cases) {
        search.searched = x.searched;
        EXPECT_EQ(computeCosts(c, search, nullptr, 1, x.ticked).rows.size(), x.rows);
    }
}

TEST(CostPage, HeadingFormAndRow) {
    const Catalogue c = catalogueOf({1}, {{".ru", 2, 5, 3, 0}, {".com", 1, 1, 1, 0}});
    SearchState search;
    const char* years[] = {"", "1 год", "2 года", "3 года", "4 года", "5 лет"};
    for (int n = 1; n <= 5; ++n) {
        for (const int zone : {0, 1}) {
            const std::string page = BuildCostPage(c, search, {zone, n, true, 1});
            EXPECT_NE(page.find(std::string("<h4>Стоимость сайта за ") + years[n] +
                                (zone == 0 ? " без домена" : " в зоне .ru") +
                                "</h4><font class=\"found\">Тарифных планов: 1</font>"),
                      std::string::npos)
                << page;
            EXPECT_NE(page.find(std::string("<option value=\"") + std::to_string(n) +
                                "\" selected>" + years[n]),
                      std::string::npos);
            // No current search: the box is disabled and clear, whatever was asked.
            EXPECT_NE(page.find("<input type=\"checkbox\" name=\"s\" value=\"1\" disabled>"),
                      std::string::npos);
        }
    }
    // The defaults: the first zone, one year; the row's cells in their order.
    const std::string ru = BuildCostPage(c, search, {});
    EXPECT_NE(ru.find("<option value=\"0\">без домена</option><option value=\"1\" selected>.ru"
                      "</option><option value=\"2\">.com</option>"),
              std::string::npos);
    EXPECT_NE(ru.find("<tr bgcolor=\"#FFE6CC\"><td><a class=\"menu\" href=\"provid=1\">Plan1</a>"
                      "</td><td>p1.ru</td><td>12</td><td>12,00</td><td>5,00</td><td>p2.ru</td>"
                      "<td>17,00</td><td>1,41666666666667</td></tr>"),
              std::string::npos)
        << ru;
    search.searched = true;
    search.criteria.Bounds[6] = kUnlimited;
    const std::string none = BuildCostPage(c, search, {0, 2, true, 1});
    EXPECT_NE(none.find("<input type=\"checkbox\" name=\"s\" value=\"1\" checked>"),
              std::string::npos);
    EXPECT_NE(none.find("<td>24</td><td>24,00</td><td>0,00</td><td></td><td>24,00</td>"
                        "<td>1,00</td></tr>"),
              std::string::npos)
        << none;
    // A catalogue without domain offers offers only that.
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
    std::string plans;
    const std::regex name(">(Plan\\d+)<");
    for (auto it = std::sregex_iterator(third.begin(), third.end(), name);
         it != std::sregex_iterator(); ++it) {
        plans += (*it)[1];
    }
    EXPECT_EQ(plans, "Plan31Plan32Plan33");
}

// The pages the router shows for a location, from a program on the sample catalogue.
class CostRouting : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(ZORBINTA_SOURCE_DIR "/data/base.db", folder.dir / "base.db");
        app = std::make_unique<Application>(fake.platform(), ProgramFiles(folder.path()),
                                            "http://srv");
        app->main.start();
        app->search.searched = true;
        app->search.criteria.Bounds[6] = kUnlimited;
    }
    std::vector<std::string> pagesFor(const std::string& location) {
        fake.pane.pages.clear();
        fake.pane.navigate(location);
        fake.pane.processAll();
        std::vector<std::string> pages;
        for (const auto& shown : fake.pane.pages) pages.push_back(shown.page);
        return pages;
    }
    std::string templ(const std::string& rest) const {
        return "file://" + folder.path() + "templ/" + rest;
    }

    ProgramFolder folder;
    FakePlatform fake;
    std::unique_ptr<Application> app;
};

bool isCostPage(const std::string& page) {
    return page.find("<h3 align=\"center\">Стоимость сайта</h3>") != std::string::npos;
}

TEST_F(CostRouting, EveryLocationOfThePageReachesItAlone) {
    const std::vector<std::string> zones = costZones(app->catalogue);
    ASSERT_EQ(zones.size(), 12u);
    std::vector<std::string> locations = {templ("main.htm?itog")};
    for (size_t z = 0; z <= zones.size(); ++z) {
        for (int n = 1; n <= kMaxCostYears; ++n) {
            for (const char* tick : {"", "&s=1"}) {
                locations.push_back(
                    templ("itog?z=" + std::to_string(z) + "&n=" + std::to_string(n) + tick));
            }
        }
    }
    // And every page link those show.
    const std::regex link("href=\"(itog\\?[^\"]*)\"");
    const size_t formLocations = locations.size();
    for (size_t k = 0; k < formLocations; ++k) {
        const std::vector<std::string> pages = pagesFor(locations[k]);
        ASSERT_EQ(pages.size(), 1u) << locations[k];
        for (auto it = std::sregex_iterator(pages[0].begin(), pages[0].end(), link);
             it != std::sregex_iterator(); ++it) {
            locations.push_back(templ((*it)[1]));
        }
    }
    ASSERT_GT(locations.size(), formLocations);
    for (const std::string& location : locations) {
        const std::vector<std::string> pages = pagesFor(location);
        ASSERT_EQ(pages.size(), 1u) << location;
        EXPECT_TRUE(isCostPage(pages[0])) << location;
        EXPECT_TRUE(fake.errors.empty()) << location;
    }
}

TEST_F(CostRouting, DescribedLocationsNeverReachIt) {
    std::vector<std::string> locations = {
        templ("main.htm"),       templ("main.htm?stoim"),    templ("space"),
        templ("traf"),           templ("stoimpage2"),        templ("trafpage2"),
        templ("spacepage3"),     templ("main.htm?free"),     templ("main.htm?dom"),
        templ("domregpage2"),    templ("domprodpage1"),      templ("main.htm?provid=1"),
        templ("main.htm?izmen"), templ("izmen=1-3-1-1-2-1"), templ("main.htm?nochange"),
        "http://srav/?",         "http://srav/?nom=1&nom=2",
    };
    for (const std::string& zone : costZones(app->catalogue)) {
        for (const char* kind : {"", "&norh=0", "&norh=1"}) {
            locations.push_back("http://dom/?zona=" + zone + "%7C" + kind);
        }
        locations.push_back("http://dom/domregzona=" + zone + "%7Cnorh=1");
        locations.push_back("http://dom/domprodzona=" + zone + "%7Cnorh=0page2");
    }
    for (const std::string& location : locations) {
        for (const std::string& page : pagesFor(location)) {
            EXPECT_FALSE(isCostPage(page)) << location;
        }
    }
}

}  // namespace
}  // namespace zorbinta
