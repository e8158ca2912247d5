// SPDX-License-Identifier: GPL-3.0-or-later
// The near-miss and unbeaten-plans pages among the others: their words, their
// locations, their menu items, and the headless program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "router/core/NearMissPage.h"
#include "router/core/UnbeatenPage.h"
#include "tests/FakePlatform.h"
#include "tests/HeadlessRun.h"
#include "tests/SampleCatalogue.h"

namespace zorbinta {
namespace {

using testing::FakePlatform;
using testing::ProgramFolder;

constexpr const char* kNearMissHeading = "<h3 align=\"center\">Почти подходящие</h3>";
constexpr const char* kUnbeatenHeading = "<h3 align=\"center\">Лучшие тарифы</h3>";

// Neither new word holds a word the router looks for, nor does any of those
// (nor the words of the pages built beside them) hold a new one.
TEST(DecisionWords, NoWordHoldsAnother) {
    const std::vector<std::string> others = {
        "space",    "traf", "stoim", "page", "dom",  "reg",   "prod",        "zona=",
        "norh=",    "free", "srav",  "nom=", "prov", "id=",   "http://srav", "izmen",
        "nochange", "itog", "glavn", "main", "htm",  "templ", "file://",     "provid="};
    for (const std::string mine : {kNearMissCommand, kUnbeatenCommand}) {
        for (const std::string& other : others) {
            EXPECT_EQ(mine.find(other), std::string::npos) << mine << " holds " << other;
            EXPECT_EQ(other.find(mine), std::string::npos) << other << " holds " << mine;
        }
    }
    EXPECT_EQ(std::string(kNearMissCommand).find(kUnbeatenCommand), std::string::npos);
    EXPECT_EQ(std::string(kUnbeatenCommand).find(kNearMissCommand), std::string::npos);
}

class DecisionRoutes : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("base.db", testing::makeCatalogue(3, 20));
        folder.write("base.db.prev", testing::makeCatalogue(2, 10));
        app = std::make_unique<Application>(fake.platform(), ProgramFiles(folder.path()),
                                            "http://srv");
        app->main.start();
        app->search.searched = true;
        app->search.criteria.Bounds[6] = kUnlimited;
        fake.pane.pages.clear();
    }
    // The pages one navigation shows.
    std::vector<std::string> pagesOf(const std::string& location) {
        fake.pane.pages.clear();
        fake.pane.navigate(location);
        fake.pane.processAll();
        std::vector<std::string> shown;
        for (const auto& page : fake.pane.pages) shown.push_back(page.page);
        return shown;
    }
    std::string url(const std::string& command) const {
        return "file://" + folder.path() + "templ/" + command;
    }

    ProgramFolder folder;
    FakePlatform fake;
    std::unique_ptr<Application> app;
};

TEST_F(DecisionRoutes, EachNewLocationShowsItsPageAlone) {
    const struct {
        void (MainController::*menu)();
        std::string location;
        const char* heading;
    } cases[] = {
        {&MainController::N20Click, url("main.htm?pochti"), kNearMissHeading},
        {&MainController::N21Click, url("main.htm?luchsh"), kUnbeatenHeading},
    };
    for (const auto& c : cases) {
        fake.pane.pages.clear();
        (app->main.*c.menu)();
        ASSERT_EQ(fake.pane.pages.size(), 1u) << c.location;
        EXPECT_EQ(fake.pane.pages[0].location, c.location);
        EXPECT_EQ(fake.pane.pages[0].page.find(c.heading), 6u) << c.location;  // after <head>
        EXPECT_EQ(pagesOf(c.location), std::vector<std::string>{fake.pane.pages[0].page});
    }
}

TEST_F(DecisionRoutes, NoDescribedLocationReachesThem) {
    for (const std::string& location :
         {url("main.htm?stoim"), url("space"), url("traf"), url("stoimpage2"), url("trafpage2"),
          url("spacepage3"), url("main.htm?free"), url("main.htm?dom"),
          url("domregzona=.ru%7Cnorh=0"), url("domprodpage2"),
          std::string("http://dom/?zona=.ru%7C&norh=1"), std::string("http://srav/?nom=1&nom=2"),
          std::string("http://srav/?"), url("main.htm?provid=2"), url("provid=1"),
          url("main.htm?izmen"), url("main.htm?izmen=2-1-1-1-1-1"), url("main.htm?nochange"),
          url("main.htm")}) {
        for (const std::string& page : pagesOf(location)) {
            EXPECT_EQ(page.find(kNearMissHeading), std::string::npos) << location;
            EXPECT_EQ(page.find(kUnbeatenHeading), std::string::npos) << location;
        }
    }
}

TEST_F(Installed, HeadlessRunsBothMenuItemsBeforeAndAfterASearch) {
    const Outcome run = runHeadless(
        folder.dir, "start\nmenu N20\nmenu N21\nmenu N6\npress Button1\nmenu N20\nmenu N21\n");
    EXPECT_EQ(run.status, 0) << run.out;
    const auto pages = zorbinta::pagesOf(run.out);
    ASSERT_EQ(pages.size(), 6u) << run.out;  // the start page and the results among them
    const std::string at = "file://" + folder.path() + "templ/main.htm?";
    const struct {
        size_t page;
        const char* command;
        const char* text;
    } cases[] = {{1, "pochti", "Поиск ещё не задан"},
                 {2, "luchsh", "Поиск ещё не задан: здесь все тарифные планы"},
                 {4, "pochti", "Подходят под поиск: "},
                 {5, "luchsh", "Подходят под поиск: "}};
    for (const auto& c : cases) {
        EXPECT_EQ(pages[c.page].first, at + c.command);
        EXPECT_NE(pages[c.page].second.find(c.text), std::string::npos) << pages[c.page].second;
    }
    EXPECT_NE(pages[5].second.find("<circle class=\"unbeaten\""), std::string::npos);
}

}  // namespace
}  // namespace zorbinta
