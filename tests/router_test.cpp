// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/Router.h"

#include <gtest/gtest.h>

#include "catalogue/core/Error.h"
#include "router/core/ChangesPage.h"
#include "router/core/StartPage.h"
#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

using testing::FakePlatform;
using testing::ProgramFolder;

TEST(RouterParameters, PageNumberReadsTwoCharacters) {
    const struct {
        const char* location;
        int page;
    } cases[] = {
        {"templ/stoimpage2", 2}, {"templ/stoimpage123", 12}, {"trafpage99", 99}, {"dompage1", 1}};
    for (const auto& c : cases) EXPECT_EQ(readPageNumber(c.location), c.page) << c.location;
}

TEST(RouterParameters, BadNumbersRaiseTheConversionError) {
    const struct {
        const char* location;
        const char* message;
    } cases[] = {{"templ/stoimpage", "'' is not a valid integer value"},
                 {"templ/stoimpagex1", "'x1' is not a valid integer value"}};
    for (const auto& c : cases) {
        try {
            readPageNumber(c.location);
            ADD_FAILURE() << c.location;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    std::string location = "http://srav/?nom=3&nom=x";
    EXPECT_THROW(readCompareSelection(location), Error);
}

TEST(RouterParameters, DomainParameters) {
    const struct {
        const char* location;
        DomainOrder order;
        const char* zone;
        int kind;
        const char* query;
        const char* prefix;
        int page;
    } cases[] = {
        {"http://dom/?zona=.com%7C&norh=1", DomainOrder::Zone, ".com", 1, "zona=.com%7Cnorh=1",
         "zona=.com%7Cnorh=1", 1},
        {"http://dom/domregzona=.com%7Cnorh=1", DomainOrder::Registration, ".com", 1,
         "zona=.com%7Cnorh=1", "regzona=.com%7Cnorh=1", 1},
        {"http://dom/?zona=.ru%7C", DomainOrder::Zone, ".ru", 0, "zona=.ru%7C", "zona=.ru%7C", 1},
        {"templ/main.htm?dom", DomainOrder::Zone, "", 0, "", "", 1},
        {"templ/domprodpage2", DomainOrder::Renewal, "", 0, "", "prod", 2},
        // "reg" wins the order, "prod" the link prefix.
        {"templ/domregprodpage3", DomainOrder::Registration, "", 0, "", "prod", 3},
        {"http://dom/domprodzona=.spb.ru%7Cnorh=0page2", DomainOrder::Renewal, ".spb.ru", 0,
         "zona=.spb.ru%7Cnorh=0", "prodzona=.spb.ru%7Cnorh=0", 2},
    };
    for (const auto& c : cases) {
        const DomainParams p = readDomainParams(c.location);
        EXPECT_EQ(p.order, c.order) << c.location;
        EXPECT_EQ(p.zone, c.zone) << c.location;
        EXPECT_EQ(p.clientKind, c.kind) << c.location;
        EXPECT_EQ(p.query, c.query) << c.location;
        EXPECT_EQ(p.linkPrefix, c.prefix) << c.location;
        EXPECT_EQ(p.page, c.page) << c.location;
    }
}

TEST(RouterParameters, CompareSelectionAndProviderNumber) {
    const struct {
        const char* location;
        std::vector<int> rows;
    } cases[] = {{"http://srav/?nom=3&nom=17", {3, 17}},
                 {"http://srav/?nom=5&nom=2", {5, 2}},
                 {"http://srav/?nom=12&nom=12&nom=40", {12, 12, 40}},
                 {"http://srav/?nom=123456", {1234}}};
    for (const auto& c : cases) {
        std::string location = c.location;
        EXPECT_EQ(readCompareSelection(location), c.rows) << c.location;
    }
    std::string location = "file:///d/templ/main.htm?provid=57";
    EXPECT_EQ(readProviderNumber(location), 57);
    EXPECT_EQ(location, "57");
}

// A catalogue of 20 plans of one provider, plan r costing r.
std::string twentyPlans() {
    std::string db =
        "prov|7|Firm|Addr|495|111|||||alpha.ru|a@alpha.ru|2004-03-15|Info|"
        "1|0|0|0|0|0|0|0|0|0|";
    for (int r = 1; r <= 20; ++r) {
        db += "vs|Plan" + std::to_string(r) + "|" + std::to_string(100 + r) + "|7|" +
              std::to_string(r * 10) + "|500|1|1|1|" + std::to_string(r) +
              "|1|0|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";
    }
    db += "free|free.example|none|php|ok|100|1|";
    db += "dom|.ru|0|7|10|12|0|";
    return db;
}

class RouterFlow : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("base.db", twentyPlans());
        app = std::make_unique<Application>(fake.platform(), ProgramFiles(folder.path()),
                                            "http://srv");
        app->main.start();
        app->search.criteria.Bounds[6] = 99999;  // every plan matches
        // The start page is written before any navigation; the pages below
        // are the router's.
        ASSERT_EQ(fake.pane.pages.size(), 1u);
        ASSERT_EQ(fake.pane.pages[0].location, "file://" + folder.path() + "templ/main.htm");
        fake.pane.pages.clear();
    }
    void go(const std::string& location) {
        fake.pane.navigate(location);
        fake.pane.processAll();
    }
    std::string url(const std::string& command) const {
        return "file://" + folder.path() + "templ/" + command;
    }

    ProgramFolder folder;
    FakePlatform fake;
    std::unique_ptr<Application> app;
};

TEST_F(RouterFlow, PagingLinksShowPageOneThenTheirPage) {
    go(url("stoimpage2"));
    ASSERT_EQ(fake.pane.pages.size(), 2u);
    EXPECT_NE(
        fake.pane.pages[0].page.find("value=\"1\"><a class=\"menu\" href=\"provid=7\">Plan1<"),
        std::string::npos);
    EXPECT_NE(
        fake.pane.pages[1].page.find("value=\"16\"><a class=\"menu\" href=\"provid=7\">Plan16<"),
        std::string::npos);
    EXPECT_EQ(fake.pane.pages[1].page.find("value=\"15\""), std::string::npos);
    EXPECT_NE(fake.pane.pages[1].page.find("Страницы: <a class=\"menu\" href=\"stoimpage1\">1</a> "
                                           "<a class=\"menu\" href=\"stoimpage2\">2</a> <tail>"),
              std::string::npos);
}

TEST_F(RouterFlow, PageOneHundredTwentyThreeReadsTwelve) {
    go(url("stoimpage123"));
    ASSERT_EQ(fake.pane.pages.size(), 2u);
    // Page 12 of two pages: the table head and no rows.
    EXPECT_EQ(fake.pane.pages[1].page.find("name=\"nom\""), std::string::npos);
    EXPECT_NE(fake.pane.pages[1].page.find("Найдено:20 тарифных планов"), std::string::npos);
}

TEST_F(RouterFlow, CompareWithoutPlansAsksForOne) {
    go("http://srav/?");
    ASSERT_EQ(fake.pane.pages.size(), 1u);
    EXPECT_EQ(fake.pane.pages[0].page, "<head>Выберите хотя бы один тарифный план<tail>");
}

TEST_F(RouterFlow, DomainFormAndItsColumnLink) {
    go("http://dom/?zona=.com%7C&norh=1");
    ASSERT_EQ(fake.pane.pages.size(), 1u);
    const std::string& page = fake.pane.pages[0].page;
    EXPECT_NE(page.find("<td><a class=menu href=\"domregzona=.com%7Cnorh=1\">Регистрация</a></td>"),
              std::string::npos);
    EXPECT_NE(
        page.find("<td><a class=menu href=\"domprodzona=.com%7Cnorh=1\">Продление</a></td></tr>"),
        std::string::npos);
    go("http://dom/domregzona=.ru%7Cnorh=0");
    ASSERT_EQ(fake.pane.pages.size(), 2u);
    EXPECT_NE(fake.pane.pages[1].page.find("<tr bgcolor=\"#FFE6CC\"><td>.ru</td>"),
              std::string::npos);
}

TEST_F(RouterFlow, LocationWithoutCommandIsOnlyRecorded) {
    go(url("main.htm"));
    EXPECT_TRUE(fake.pane.pages.empty());
    EXPECT_EQ(app->history.BackCount, 1);
}

TEST_F(RouterFlow, ProgramFolderNamesDoNotCountAsCommands) {
    ProgramFolder parent;
    const auto dir = parent.dir / "free prov dom page";
    std::filesystem::create_directories(dir / "templ");
    std::filesystem::copy(folder.dir / "templ", dir / "templ",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(folder.dir / "base.db", dir / "base.db");
    FakePlatform other;
    Application program(other.platform(), ProgramFiles(dir.string()), "http://srv");
    program.main.start();
    program.main.N6Click();  // the search dialog closes at once here
    // The start page, then the results.
    ASSERT_EQ(other.pane.pages.size(), 2u);
    EXPECT_NE(other.pane.pages[1].page.find("Поиск виртуального сервера"), std::string::npos);
    // The browser's own spelling of the folder is recognised too.
    other.pane.navigate("file://" + parent.path() + "free%20prov%20dom%20page/templ/main.htm?free");
    other.pane.processAll();
    ASSERT_EQ(other.pane.pages.size(), 3u);
    EXPECT_NE(other.pane.pages[2].page.find("Бесплатный хостинг"), std::string::npos);
}

TEST_F(RouterFlow, ErrorEndsTheHandlingAndKeepsEarlierPages) {
    go(url("stoimpage"));
    ASSERT_EQ(fake.pane.pages.size(), 1u);  // page 1 was shown before the bad number
    ASSERT_EQ(fake.errors.size(), 1u);
    EXPECT_EQ(fake.errors[0], "'' is not a valid integer value");
    EXPECT_EQ(app->history.BackCount, 1);
}

TEST_F(RouterFlow, BackAndForwardOverFourPages) {
    MainController& main = app->main;
    go(url("A"));
    EXPECT_FALSE(fake.back);
    go(url("B"));
    EXPECT_TRUE(fake.back);
    go(url("C"));
    main.ToolButton5Click();  // to B
    fake.pane.processAll();
    EXPECT_EQ(fake.pane.location, url("B"));
    EXPECT_TRUE(fake.forward);
    EXPECT_TRUE(fake.back);
    EXPECT_EQ(app->history.BackCount, 2);
    main.ToolButton5Click();  // to A
    fake.pane.processAll();
    EXPECT_FALSE(fake.back);
    main.ToolButton5Click();  // disabled: nothing happens
    EXPECT_TRUE(fake.pane.pending.empty());
    main.ToolButton6Click();  // to B
    EXPECT_FALSE(fake.back);  // enabled again only once B has completed
    fake.pane.processAll();
    EXPECT_EQ(fake.pane.location, url("B"));
    EXPECT_TRUE(fake.back);
    EXPECT_TRUE(fake.forward);
    go(url("D"));
    EXPECT_FALSE(fake.forward);
    EXPECT_EQ(app->history.ForwardCount, 0);
    EXPECT_EQ(app->history.BackCount, 3);
    EXPECT_EQ(app->history.BackList[3], url("D"));
}

// Показать → Главная страница: a page of its own, recorded like any page,
// that only its own location reaches.
TEST_F(RouterFlow, StartPageCommandIsApartFromEveryOther) {
    const std::string_view word = kStartCommand;
    for (const std::string_view other : {"space", "traf",   "stoim",         "page",
                                         "dom",   "reg",    "prod",          "zona=",
                                         "norh=", "free",   "http://srav",   "nom=",
                                         "prov",  "id=",    kChangesCommand, kUnchangedCommand,
                                         "itog",  "pochti", "luchsh",        "templ/main.htm?"}) {
        EXPECT_EQ(word.find(other), std::string_view::npos) << other;
        EXPECT_EQ(other.find(word), std::string_view::npos) << other;
    }

    app->main.N23Click();
    ASSERT_EQ(fake.pane.pages.size(), 1u);
    EXPECT_EQ(fake.pane.pages[0].location, url("main.htm?glavn"));
    EXPECT_EQ(fake.pane.pages[0].page, "<head>" + app->main.startPageBody() + "<tail>");
    EXPECT_NE(fake.pane.pages[0].page.find("Каталог хостинг-провайдеров"), std::string::npos);
    EXPECT_EQ(app->history.BackCount, 1);
    EXPECT_EQ(app->history.BackList[1], url("main.htm?glavn"));

    for (const std::string& location :
         {url("main.htm?stoim"), url("main.htm?free"), url("main.htm?dom"),
          url("main.htm?provid=7"), url("space"), url("traf"), url("stoimpage2"), url("trafpage2"),
          url("spacepage1"), url("dompage2"), url("main.htm"), url("main.htm?izmen"),
          url("main.htm?nochange"), std::string("http://srav/?"),
          std::string("http://srav/?nom=3&nom=17"), std::string("http://dom/?zona=.ru%7C&norh=1"),
          std::string("http://dom/domregzona=.ru%7Cnorh=0"),
          std::string("http://dom/domprodzona=.ru%7C")}) {
        fake.pane.pages.clear();
        go(location);
        for (const auto& shown : fake.pane.pages) {
            EXPECT_EQ(shown.page.find("Каталог хостинг-провайдеров"), std::string::npos)
                << location;
        }
    }
}

}  // namespace
}  // namespace zorbinta
