// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/SearchResults.h"
#include "search/core/SearchDialog.h"

namespace zorbinta {
namespace {

const std::string kServer = "http://cat.example";

class NoDialogs : public DialogRunner {
public:
    void runModal(DialogId) override {}
    void close(DialogId) override {}
};

const std::string kTableHead =
    R"(<table border="0" CELLPADDING="5"><tr bgcolor="#F4F4FF"><td>Тарифный план</td><td>Хостинг-провайдер</td><td><a class="menu" href="space">Дисковое пространство(Мб)</a></td>)"
    R"(<td><a class="menu" href="traf">Трафик</a></td><td>Опции</td><td><a class="menu" href="stoim">Месячная стоимость(y.e.)</a></td></tr>)";

std::string heading(int count) {
    return R"(<h3 align="center">Поиск виртуального сервера</h3><font class="found">Найдено:)" +
           std::to_string(count) +
           R"( тарифных планов</font><form name="FormName" action="http://srav" method="get"><input type="submit" value="Сравнить">)";
}

std::string links(const std::string& word, int pages) {
    std::string out = "Страницы: ";
    for (int n = 1; n <= pages; ++n) {
        out += "<a class=\"menu\" href=\"" + word + "page" + std::to_string(n) + "\">" +
               std::to_string(n) + "</a> ";
    }
    return out;
}

class SearchResultsTest : public ::testing::Test {
protected:
    // Plan r: disk 10·r, traffic 1000 − r, price r, provider 1.
    void plans(int count) {
        cat.ProviderCount = 1;
        cat.number(ProviderTable, slot::ProviderId, 1) = 1;
        cat.text(ProviderTable, slot::WebAddress, 1) = "host.ru";
        cat.PlanCount = count;
        for (int r = 1; r <= count; ++r) {
            cat.text(PlanTable, slot::PlanName, r) = "P" + std::to_string(r);
            cat.number(PlanTable, slot::PlanNumber, r) = 100 + r;
            cat.number(PlanTable, slot::PlanProviderId, r) = 1;
            cat.number(PlanTable, slot::DiskMb, r) = 10 * r;
            cat.number(PlanTable, slot::Traffic, r) = 1000 - r;
            cat.number(PlanTable, slot::MonthlyCost, r) = r;
        }
        dialog.criteria.Bounds[6] = 99999;
    }
    std::string build(int slot, int page) {
        return BuildSearchResults(cat, dialog, kServer, slot, page);
    }
    // Plan rows named on a page, in order.
    static std::vector<int> rowsOf(const std::string& body) {
        std::vector<int> rows;
        const std::string key = R"(name="nom" value=")";
        for (auto at = body.find(key); at != std::string::npos; at = body.find(key, at + 1)) {
            rows.push_back(std::stoi(body.substr(at + key.size())));
        }
        return rows;
    }

    Catalogue cat;
    NoDialogs dialogs;
    SearchDialog dialog{dialogs};
};

TEST_F(SearchResultsTest, WritesOneRowByteForByte) {
    cat.ProviderCount = 2;
    cat.number(ProviderTable, slot::ProviderId, 1) = 4;
    cat.text(ProviderTable, slot::WebAddress, 1) = "first.ru";
    cat.number(ProviderTable, slot::ProviderId, 2) = 4;
    cat.text(ProviderTable, slot::WebAddress, 2) = "second.ru";
    cat.PlanCount = 1;
    cat.text(PlanTable, slot::PlanName, 1) = "Старт";
    cat.number(PlanTable, slot::PlanNumber, 1) = 77;
    cat.number(PlanTable, slot::PlanProviderId, 1) = 4;
    cat.number(PlanTable, slot::DiskMb, 1) = 99999;
    cat.number(PlanTable, slot::Traffic, 1) = 99999;
    cat.number(PlanTable, slot::MonthlyCost, 1) = 7;
    for (const int f : {slot::HasPhp, slot::HasCgiBin, slot::HasSsi, slot::HasSsh}) {
        cat.flag(PlanTable, f, 1) = 1;
    }
    dialog.criteria.Bounds[6] = 99999;
    EXPECT_EQ(
        build(slot::MonthlyCost, 1),
        heading(1) + kTableHead +
            R"(<tr bgcolor="#FFE6CC"><td><input type="checkbox" name="nom" value="1"><a class="menu" href="provid=4">Старт</a></td><td><a class="menu" target="new" href="http://cat.example/stat.php?id=4&type=1&nom=77">second.ru</a></td><td>99999</td><td>неогр.</td><td class="small">PHP,SSI,SSH...</td><td>7,00</td></tr>)"
            "</table></form>");
}

TEST_F(SearchResultsTest, CellTexts) {
    plans(3);
    cat.number(PlanTable, slot::Traffic, 1) = 25.5;
    cat.number(PlanTable, slot::MonthlyCost, 1) = 7.5;
    cat.number(PlanTable, slot::MonthlyCost, 2) = 10.125;
    cat.flag(PlanTable, slot::HasPerl, 2) = 1;
    cat.flag(PlanTable, slot::HasCron, 2) = 1;
    cat.number(PlanTable, slot::PlanProviderId, 3) = 9;  // no such provider
    const std::string body = build(slot::DiskMb, 1);
    EXPECT_NE(body.find("<td>10</td><td>25,5</td><td class=\"small\"></td><td>7,50</td>"),
              std::string::npos);
    EXPECT_NE(body.find("<td class=\"small\">Perl,Cron...</td><td>10,125</td>"), std::string::npos);
    // A provider that is not in the table shows nothing, not the row above's.
    EXPECT_NE(body.find("href=\"provid=9\">P3</a></td><td><a class=\"menu\" target=\"new\" "
                        "href=\"http://cat.example/stat.php?id=9&type=1&nom=103\"></a>"),
              std::string::npos);
}

TEST_F(SearchResultsTest, PagesOfFifteen) {
    struct Case {
        int plans;
        int page;
        std::vector<int> rows;
        int pages;  // links; 1 means none
    };
    std::vector<int> first15;
    for (int r = 1; r <= 15; ++r) first15.push_back(r);
    const Case cases[] = {
        {0, 1, {}, 0},       {1, 1, {1}, 1},   {15, 1, first15, 1},
        {16, 1, first15, 2}, {16, 2, {16}, 2}, {31, 3, {31}, 3},
        {31, 4, {}, 3},      {16, 0, {}, 2},   {16, -1, {}, 2},
    };
    for (const Case& c : cases) {
        Catalogue fresh;
        cat = fresh;
        plans(c.plans);
        const std::string body = build(slot::MonthlyCost, c.page);
        EXPECT_EQ(rowsOf(body), c.rows) << c.plans << " plans, page " << c.page;
        EXPECT_EQ(body.rfind(heading(c.plans) + kTableHead, 0), 0u);
        const std::string tail = "</table></form>" + (c.pages == 1 ? "" : links("stoim", c.pages));
        EXPECT_EQ(body.substr(body.size() - std::min(body.size(), tail.size())), tail)
            << c.plans << " plans, page " << c.page;
    }
}

TEST_F(SearchResultsTest, RowColoursStartAgainOnEveryPage) {
    plans(20);
    for (const int page : {1, 2}) {
        const std::string body = build(slot::MonthlyCost, page);
        const auto first = body.find("<tr bgcolor=\"#FFE6CC\"><td><input");
        const auto second = body.find("<tr bgcolor=\"#F4F4FF\"><td><input");
        const auto third = body.find("<tr bgcolor=\"#FFE6CC\"><td><input", first + 1);
        ASSERT_NE(first, std::string::npos);
        EXPECT_LT(first, second);
        EXPECT_LT(second, third);
    }
}

TEST_F(SearchResultsTest, OrderFollowsTheSlotAndTheDialogFields) {
    struct Case {
        const char* what;
        int slot;
        std::array<const char*, 3> fields;  // Edit1, Edit2, Edit6
        std::vector<int> rows;
        const char* word;
    };
    const Case cases[] = {
        {"by price", slot::MonthlyCost, {"", "", ""}, {1, 2, 3, 4}, "stoim"},
        {"by traffic", slot::Traffic, {"", "", ""}, {4, 3, 2, 1}, "traf"},
        {"by disk", slot::DiskMb, {"", "", ""}, {1, 2, 3, 4}, "space"},
        {"traffic field", slot::MonthlyCost, {"", "5", ""}, {4, 3, 2, 1}, "traf"},
        {"both fields: disk wins", slot::Traffic, {"5", "5", ""}, {1, 2, 3, 4}, "space"},
        {"price field: falling price", slot::DiskMb, {"", "", "9"}, {4, 3, 2, 1}, "stoim"},
        {"price field wins over disk", slot::Traffic, {"5", "", "9"}, {4, 3, 2, 1}, "stoim"},
    };
    // Rows 5 to 16 match only once their price is lowered; then there are
    // page links, which carry the sort word.
    plans(16);
    for (int r = 5; r <= 16; ++r) cat.number(PlanTable, slot::MonthlyCost, r) = 100000;
    for (const Case& c : cases) {
        dialog.Edit[1] = c.fields[0];
        dialog.Edit[2] = c.fields[1];
        dialog.Edit[6] = c.fields[2];
        EXPECT_EQ(rowsOf(build(c.slot, 1)), c.rows) << c.what;
        EXPECT_EQ(dialog.Edit[1], "") << c.what;
        EXPECT_EQ(dialog.Edit[2], "") << c.what;
        EXPECT_EQ(dialog.Edit[6], c.fields[2]) << c.what;
    }
    // Links use the word of the order that applied.
    for (int r = 5; r <= 16; ++r) cat.number(PlanTable, slot::MonthlyCost, r) = 50;
    dialog.Edit[6] = "9";
    EXPECT_NE(build(slot::DiskMb, 1).find(links("stoim", 2)), std::string::npos);
    dialog.Edit[6] = "";
    dialog.Edit[2] = "1";
    EXPECT_NE(build(slot::DiskMb, 1).find(links("traf", 2)), std::string::npos);
    EXPECT_NE(build(slot::DiskMb, 1).find(links("space", 2)), std::string::npos);
}

TEST_F(SearchResultsTest, EqualPricesReversedPutTheHigherRowFirst) {
    plans(3);
    for (int r = 1; r <= 3; ++r) cat.number(PlanTable, slot::MonthlyCost, r) = 5;
    dialog.Edit[6] = "5";
    EXPECT_EQ(rowsOf(build(slot::MonthlyCost, 1)), (std::vector<int>{3, 2, 1}));
}

}  // namespace
}  // namespace zorbinta
