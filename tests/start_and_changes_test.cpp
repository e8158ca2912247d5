// SPDX-License-Identifier: GPL-3.0-or-later
// The start page at the first activation, and the changes page: the
// comparison with base.db.prev, its paging, the files it refuses, menu item
// N16 and the page that follows a download.

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/core/FileIO.h"
#include "pages/core/PageOutput.h"
#include "router/core/ChangesPage.h"
#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

using testing::FakePlatform;
using testing::ProgramFolder;
using testing::ScriptedHttp;

std::string prov(int id, const std::string& site, const std::string& date) {
    return "prov|" + std::to_string(id) + "|Firm " + site + "|Addr|495|111|||||" + site + "|m@" +
           site + "|" + date + "|Info|1|0|0|0|0|0|0|0|0|0|";
}
std::string plan(const std::string& name, int number, int provider, const std::string& disk,
                 const std::string& cost) {
    return "vs|" + name + "|" + std::to_string(number) + "|" + std::to_string(provider) + "|" +
           disk + "|1000|1|1|1|" + cost + "|1|0|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|";
}
const std::string kTail = "free|free.example|none|php|ok|100|31|dom|.ru|0|1|10|12|0|";

// Two providers, three plans (one without a price), one free and one domain offer.
const std::string kBefore = "update|3.1|http://new/|" + prov(1, "alpha.ru", "2004-03-15") +
                            prov(2, "beta.ru", "2004-11-02") + plan("Mini", 11, 1, "100", "5") +
                            plan("Maxi", 12, 2, "99999", "20") + plan("Zero", 13, 1, "500", "0") +
                            kTail;
// One provider added, one plan removed, one price raised.
const std::string kAfter = "update|3.1|http://new/|" + prov(1, "alpha.ru", "2004-03-15") +
                           prov(2, "beta.ru", "2004-11-02") + prov(3, "gamma.ru", "2004-12-01") +
                           plan("Mini", 11, 1, "100", "5") + plan("Maxi", 12, 2, "99999", "25") +
                           kTail;

class Program : public ::testing::Test {
protected:
    void start(const std::string& catalogue) {
        if (!catalogue.empty()) writeFileBytes(folder.path() + "base.db", catalogue);
        app = std::make_unique<Application>(
            Platform{fake.pane, fake, fake, fake, fake, fake, fake, http},
            ProgramFiles(folder.path()), "http://srv");
        app->main.start();
    }
    std::string prev() const { return folder.path() + "base.db.prev"; }
    std::string command(const std::string& c) const { return commandUrl(folder.path(), c); }
    const std::string& lastPage() const { return fake.pane.pages.back().page; }

    ProgramFolder folder;
    FakePlatform fake;
    ScriptedHttp http;
    std::unique_ptr<Application> app;
};

TEST_F(Program, StartPageIsWrittenOnceWithoutANavigation) {
    start(kBefore);
    ASSERT_EQ(fake.pane.pages.size(), 1u);
    EXPECT_EQ(fake.pane.location, "file://" + folder.path() + "templ/main.htm");
    const std::string& page = fake.pane.pages[0].page;
    EXPECT_TRUE(page.starts_with("<head>") && page.ends_with("<tail>"));
    for (
        const char* part : {
            "Версия каталога:</td><td class=td2>3.1<",
            "Последнее обновление:</td><td class=td2>02.11.2004<",
            "Хостинг-провайдеров:</td><td class=td2>2<",
            "Тарифных планов:</td><td class=td2>3<",
            R"(<a class="menu" href="free">1 предложение</a>)",
            R"(<a class="menu" href="dom">1 предложение</a>)",
            "меню «Поиск»",
            // The plan without a price is neither the cheapest nor the largest.
            R"(<tr bgcolor="#FFE6CC"><td>Самый дешёвый</td><td>Mini</td><td><a class="menu" href="provid=1">alpha.ru</a></td><td>100</td><td>5,00</td></tr>)",
            R"(<tr bgcolor="#F4F4FF"><td>Больше всего места</td><td>Maxi</td><td><a class="menu" href="provid=2">beta.ru</a></td><td>неогр.</td><td>20,00</td></tr>)",
            R"(<a class="menu" href="provid=1">alpha.ru</a><br><a class="menu" href="provid=2">beta.ru</a><br>)",
        }) {
        EXPECT_NE(page.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(app->history.BackCount, 0);
    EXPECT_FALSE(fake.back || fake.forward);

    // Saving while it is on show saves it; later activations leave it alone.
    fake.saveName = folder.path() + "start.htm";
    app->main.N2Click();
    EXPECT_EQ(readFileBytes(folder.path() + "start.htm"), toCp1251(page));
    app->main.active();
    EXPECT_EQ(fake.pane.pages.size(), 1u);
}

TEST_F(Program, EmptyMissingOrDamagedCatalogueStartPageNamesTheDownload) {
    const struct {
        const char* file;  // nullptr: no base.db
        const char* says;
        size_t errors;
        const char* also;  // more the page says
    } cases[] = {
        {"", "Каталог пуст", 0, "Каталог пуст: в нём нет ни одного предложения."},
        {nullptr, "base.db не найден", 1, "Файл каталога base.db не найден: каталог пуст."},
        // The loader's own message, as a page shows text.
        {"prov|<x>|", "base.db повреждён или не читается", 1,
         "<b>'&lt;x&gt;' is not a valid floating point value</b>"},
    };
    for (const auto& c : cases) {
        ProgramFolder other;
        FakePlatform shown;
        if (c.file != nullptr) writeFileBytes(other.path() + "base.db", c.file);
        Application program(shown.platform(), ProgramFiles(other.path()), "http://srv");
        program.guarded([&program] { program.main.start(); });
        ASSERT_EQ(shown.pane.pages.size(), 1u) << c.says;
        EXPECT_NE(shown.pane.pages[0].page.find(c.says), std::string::npos) << c.says;
        EXPECT_NE(shown.pane.pages[0].page.find("«Сервис» &rarr; «Обновление»"), std::string::npos);
        EXPECT_NE(shown.pane.pages[0].page.find(c.also), std::string::npos) << c.says;
        EXPECT_EQ(shown.errors.size(), c.errors) << c.says;  // "File not found" as before
    }
}

TEST_F(Program, DownloadShowsWhatChangedAndTheMenuItemReachesItAgain) {
    writeFileBytes(prev(), kBefore);  // kept by the download as it replaced base.db
    start(kBefore);
    EXPECT_TRUE(app->main.changesEnabled);
    http.serve(kAfter);
    fake.reactions[DialogId::Update].push_back([this] { app->update.Button1Click(); });
    app->main.N11Click();
    ASSERT_EQ(fake.pane.pages.size(), 2u);
    EXPECT_EQ(fake.pane.pages[1].location, command("izmen"));
    const std::string changes = lastPage();
    for (
        const char* part : {
            "новых 1, удалённых 0. Тарифных планов: новых 0, удалённых 1, с новой ценой 1. "
            "Доменных предложений с новой ценой: 0.</font>",
            R"(<tr bgcolor="#FFE6CC"><td><a class="menu" href="provid=3">gamma.ru</a></td><td>Firm gamma.ru</td><td>01.12.2004</td></tr>)",
            R"(<tr bgcolor="#FFE6CC"><td>Zero</td><td><a class="menu" href="provid=1">alpha.ru</a></td><td>500</td><td>1000</td><td>0,00</td></tr>)",
            R"(<td>20,00 &rarr; <span class="dearer">25,00</span></td>)",
        }) {
        EXPECT_NE(changes.find(part), std::string::npos) << part << "\n" << changes;
    }
    EXPECT_EQ(changes.find("Прочих"), std::string::npos);
    EXPECT_EQ(app->history.BackCount, 1);  // recorded like any routed page

    fake.pane.navigate(command("free"));
    fake.pane.processAll();
    app->main.ToolButton5Click();  // Back returns to it
    fake.pane.processAll();
    EXPECT_EQ(lastPage(), changes);
    app->main.N16Click();
    EXPECT_EQ(lastPage(), changes);

    // The same catalogue again: a page that says so, and the menu item still
    // shows what the last real change brought.
    fake.reactions[DialogId::Update].push_back([this] { app->update.Button1Click(); });
    app->main.N11Click();
    EXPECT_EQ(fake.pane.location, command("nochange"));
    EXPECT_NE(lastPage().find("каталог не изменился."), std::string::npos) << lastPage();
    EXPECT_NE(lastPage().find(R"(<a class="menu" href="izmen">Изменения каталога</a>)"),
              std::string::npos);
    EXPECT_EQ(readFileBytes(prev()), kBefore);
    app->main.N16Click();
    EXPECT_EQ(lastPage(), changes);

    // Compared with itself, a catalogue has not changed.
    writeFileBytes(prev(), kAfter);
    app->main.N16Click();
    EXPECT_EQ(lastPage(), "<head>Каталог не изменился<tail>");
}

TEST_F(Program, NoComparisonWithoutAUsablePreviousCatalogue) {
    start(kAfter);
    EXPECT_FALSE(app->main.changesEnabled);
    const size_t pages = fake.pane.pages.size();
    app->main.N16Click();  // disabled: nothing happens
    EXPECT_EQ(fake.pane.pages.size(), pages);

    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* says;
    } cases[] = {
        {"missing", [](const std::string&) {}, "не найден"},
        {"folder", [](const std::string& p) { fs::create_directory(p); }, "не файл"},
        {"too large",
         [](const std::string& p) {
             writeFileBytes(p, "");
             fs::resize_file(p, kMaxCatalogueBytes + 1);
         },
         "больше, чем бывает каталог"},
        {"malformed", [](const std::string& p) { writeFileBytes(p, "prov|x|"); },
         "не является каталогом ('x' is not a valid floating point value)"},
        {"markup in the error", [](const std::string& p) { writeFileBytes(p, "prov|<b>|"); },
         "('&lt;b&gt;' is not"},
    };
    for (const auto& c : cases) {
        fs::remove_all(prev());
        c.make(prev());
        fake.pane.navigate(command("izmen"));
        fake.pane.processAll();
        EXPECT_NE(lastPage().find("Сравнение с прежним каталогом невозможно: "), std::string::npos)
            << c.what;
        EXPECT_NE(lastPage().find(c.says), std::string::npos) << c.what << "\n" << lastPage();
        EXPECT_TRUE(fake.errors.empty()) << c.what;
    }

    // An older version in base.db.prev asks nothing, and the catalogue on
    // show stays as it is.
    fs::remove_all(prev());
    writeFileBytes(prev(), "update|3.0|http://old/|" + kBefore.substr(kBefore.find("prov|")));
    fake.pane.navigate(command("izmen"));
    fake.pane.processAll();
    EXPECT_TRUE(fake.shown.empty());
    EXPECT_EQ(app->catalogue.ProviderCount, 3);
    EXPECT_EQ(app->catalogue.PlanCount, 2);
    EXPECT_NE(lastPage().find("с новой ценой 1"), std::string::npos);
}

TEST(ChangesPaging, EveryListIsPagedOnItsOwn) {
    const struct {
        const char* location;
        std::array<int, kChangeLists> page;
    } cases[] = {{"templ/main.htm?izmen", {1, 1, 1, 1, 1, 1}},
                 {"templ/izmen=1-3-1-1-2-1", {1, 3, 1, 1, 2, 1}},
                 {"templ/izmen=2", {2, 1, 1, 1, 1, 1}},
                 {"templ/izmen=x-7", {1, 7, 1, 1, 1, 1}},
                 {"templ/izmen=99999999999-0", {1000, 0, 1, 1, 1, 1}}};
    for (const auto& c : cases) EXPECT_EQ(readChangesPaging(c.location).page, c.page) << c.location;

    // Twenty prices raised: 15 rows, then 5; the other lists keep their page.
    Catalogue before;
    Catalogue after;
    before.PlanCount = after.PlanCount = 20;
    for (int r = 1; r <= 20; ++r) {
        before.number(PlanTable, slot::PlanNumber, r) =
            after.number(PlanTable, slot::PlanNumber, r) = r;
        before.number(PlanTable, slot::MonthlyCost, r) = 10;
        after.number(PlanTable, slot::MonthlyCost, r) = r < 10 ? 5 : 15;
    }
    ChangesPaging paging;
    const std::string first = BuildChangesBody(before, after, paging);
    paging.page[4] = 9;  // beyond the last page: the last one
    const std::string last = BuildChangesBody(before, after, paging);
    auto rows = [](const std::string& body) {
        size_t n = 0;
        for (size_t at = body.find("&rarr;"); at != std::string::npos;
             at = body.find("&rarr;", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(rows(first), 15u);
    EXPECT_EQ(rows(last), 5u);
    EXPECT_NE(first.find("10,00 &rarr; <span class=\"cheaper\">5,00</span>"), std::string::npos);
    EXPECT_NE(last.find("10,00 &rarr; <span class=\"dearer\">15,00</span>"), std::string::npos);
    EXPECT_NE(
        last.find(
            R"(Страницы: <a class="menu" href="izmen=1-1-1-1-1-1">1</a> <a class="menu" href="izmen=1-1-1-1-2-1">2</a> )"),
        std::string::npos);
}

}  // namespace
}  // namespace zorbinta
