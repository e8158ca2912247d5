// SPDX-License-Identifier: GPL-3.0-or-later
// The near-miss and unbeaten-plans pages over catalogues made to measure.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "router/core/NearMissPage.h"
#include "router/core/UnbeatenPage.h"

namespace zorbinta {
namespace {

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Disk, traffic, mailboxes, subdomains, MySQL, price, period, test days.
using Counts = std::array<double, 8>;
constexpr Counts kPlain = {100, 1000, 5, 5, 1, 10, 1, 0};

// Plan r is named "P<r>", provider 1 ("p1.ru"), its options bit j - 1 of mask.
struct Plans {
    Catalogue cat;
    explicit Plans(const std::vector<std::pair<Counts, unsigned>>& plans) {
        cat.ProviderCount = 1;
        cat.number(ProviderTable, slot::ProviderId, 1) = 1;
        cat.text(ProviderTable, slot::WebAddress, 1) = "p1.ru";
        for (const auto& [counts, options] : plans) {
            const int r = ++cat.PlanCount;
            cat.text(PlanTable, slot::PlanName, r) = "P" + std::to_string(r);
            cat.number(PlanTable, slot::PlanProviderId, r) = 1;
            for (int k = 0; k < 8; ++k) cat.number(PlanTable, k + 3, r) = counts[size_t(k)];
            for (int j = 1; j <= 15; ++j) cat.flag(PlanTable, j, r) = (options >> (j - 1)) & 1;
        }
    }
};

Counts with(int k, double value) {  // k: the bound's row, 1 to 8
    Counts c = kPlain;
    c[size_t(k - 1)] = value;
    return c;
}

// The group headings and, under each, the plans in the order shown.
std::string groupsOf(const std::string& body) {
    std::string shown;
    for (size_t at = body.find("<h4>"); at != std::string::npos; at = body.find("<h4>", at + 1)) {
        const size_t end = body.find("</h4>", at);
        shown += "[" + body.substr(at + 4, end - at - 4) + "]";
        const size_t next = body.find("<h4>", end);
        for (size_t p = body.find("\">P", end); p < next; p = body.find("\">P", p + 1)) {
            shown += " " + body.substr(p + 2, body.find('<', p) - p - 2);
        }
    }
    return shown;
}

// Each case searches with price <= 99999 and its own tests set: test t of
// 1 to 8 is Bounds[t], of 9 to 23 Options[t - 8]. 99999 is "неогр." in the
// five quantities only; a "Неогр." bound leaves the miss empty.
TEST(NearMissPage, GroupsSortingAndCells) {
    const std::vector<std::pair<int, double>> perlSearch = {{1, 100}, {2, 1000}, {6, 10}, {10, 1}};
    const unsigned perl = 2;
    const struct Case {
        const char* rule;
        std::vector<std::pair<int, double>> tests;
        std::vector<std::pair<Counts, unsigned>> plans;
        std::string groups;
        std::string cells;  // a row's cells after the provider, as written
        int rowsWithCells;
    } cases[] = {
        {"each kind of condition, in the tests' order; a plan missing two is not listed",
         perlSearch,
         {{kPlain, perl},
          {with(6, 12.5), perl},
          {kPlain, 0},
          {with(1, 50), perl},
          {with(1, 50), 0}},
         "[Дисковое пространство(Мб): не меньше 100] P4[Месячная стоимость: не больше 10,00] "
         "P2[Perl: есть] P3",
         "<td>12,50</td><td>10,00</td><td>2,50</td>",
         1},
        {"a bound's group by the miss, ties by row",
         perlSearch,
         {{with(1, 90), perl}, {with(1, 50), perl}, {with(1, 95), perl}, {with(1, 90), perl}},
         "[Дисковое пространство(Мб): не меньше 100] P3 P1 P4 P2",
         "<td>90</td><td>100</td><td>10</td>",
         2},
        {"an option's group by row",
         perlSearch,
         {{kPlain, 0}, {kPlain, 1}},
         "[Perl: есть] P1 P2",
         "<td>нет</td><td>есть</td><td></td></tr>",
         2},
        {"a \"Неогр.\" bound",
         {{2, kUnlimited}},
         {{with(2, 1000), 0}, {with(2, 5000), 0}},
         "[Трафик: не меньше неогр.] P2 P1",
         "<td>5000</td><td>неогр.</td><td></td></tr>",
         1},
        {"an unlimited value",
         {{1, 9999999}},
         {{with(1, kUnlimited), 0}},
         "[Дисковое пространство(Мб): не меньше 9999999] P1",
         "<td>неогр.</td><td>9999999</td><td>9900000</td></tr>",
         1},
        {"99999 test days are a number",
         {{8, kUnlimited}},
         {{kPlain, 0}},
         "[Тестовый период (дней): не меньше 99999] P1",
         "<td>0</td><td>99999</td><td>99999</td></tr>",
         1},
    };
    for (const Case& c : cases) {
        SearchState search;
        search.searched = true;
        search.criteria.Bounds[6] = kUnlimited;
        for (const auto& [test, value] : c.tests) {
            if (test <= 8) search.criteria.Bounds[size_t(test)] = value;
            if (test > 8) search.criteria.Options[size_t(test - 8)] = 1;
        }
        const std::string body = BuildNearMissPage(Plans(c.plans).cat, search);
        EXPECT_EQ(groupsOf(body), c.groups) << c.rule;
        EXPECT_EQ(count(body, c.cells), c.rowsWithCells) << c.rule << "\n" << body;
    }
}

TEST(NearMissPage, NoSearchYetAndNothingMisses) {
    const Plans plans({{kPlain, 0}});
    SearchState search;
    EXPECT_NE(BuildNearMissPage(plans.cat, search).find("Поиск ещё не задан"), std::string::npos);
    search.searched = true;
    search.criteria.Bounds[6] = kUnlimited;  // every plan matches
    const std::string body = BuildNearMissPage(plans.cat, search);
    EXPECT_NE(body.find("Подходят под поиск: 1. Не хватает ровно одного условия: 0"),
              std::string::npos);
    EXPECT_NE(body.find("Нет тарифных планов, которым не хватает"), std::string::npos);
    EXPECT_EQ(body.find("<table"), std::string::npos);
}

TEST(UnbeatenPlans, WhoBeatsWhom) {
    const struct {
        const char* rule;
        Counts q;
        unsigned qOptions;
        bool beats;
    } cases[] = {
        {"identical plans do not beat each other", kPlain, 1, false},
        {"beaten only on an option", kPlain, 3, true},
        {"fewer options", kPlain, 0, false},
        {"cheaper", with(6, 9), 1, true},
        {"shorter period", with(7, 0), 1, true},
        {"more disk", with(1, 101), 1, true},
        {"more test days", with(8, 1), 1, true},
        {"more traffic but dearer", {100, 2000, 5, 5, 1, 11, 1, 0}, 1, false},
    };
    for (const auto& c : cases) {
        const Plans plans({{c.q, c.qOptions}, {kPlain, 1}});
        EXPECT_EQ(planBeats(plans.cat, 1, 2), c.beats) << c.rule;
    }
}

// The sort-filter gives what trying every pair gives, ties and identical
// plans among them: small value ranges make many.
TEST(UnbeatenPlans, SameAsTryingEveryPair) {
    std::mt19937 random(21);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::pair<Counts, unsigned>> drawn;
        for (int r = 0; r < 60; ++r) {
            Counts c;
            for (double& v : c) v = double(random() % 3);
            drawn.push_back({c, unsigned(random() % 4)});
        }
        const Plans plans(drawn);
        std::vector<int> rows, expected;
        for (int p = 1; p <= 60; ++p) rows.push_back(p);
        for (int p = 1; p <= 60; ++p) {
            bool beaten = false;
            for (int q = 1; q <= 60; ++q) beaten = beaten || planBeats(plans.cat, q, p);
            if (!beaten) expected.push_back(p);
        }
        EXPECT_EQ(unbeatenAmong(plans.cat, rows), expected) << round;
    }
}

TEST(UnbeatenPage, TableChartAndTexts) {
    SearchState searched;
    searched.searched = true;
    searched.criteria.Bounds[6] = 20;  // P4 costs too much
    const struct {
        const char* rule;
        std::vector<std::pair<Counts, unsigned>> plans;
        const SearchState& search;
        int circles, unbeaten;
        std::string rows;  // the table's plans in order
        std::string text;
    } cases[] = {
        {"no plans", {}, searched, 0, 0, "", "не подходит ни один"},
        {"no search yet: every plan",
         {{with(6, 30), 0}},
         SearchState{},
         1,
         1,
         " P1",
         "Поиск ещё не задан"},
        {"one plan", {{kPlain, 0}}, searched, 1, 1, " P1", "Лучших среди них: 1"},
        {"by price, ties by row; beaten ones only drawn",
         {{with(6, 5), 0},
          {{50, 1000, 5, 5, 1, 4, 1, 0}, 1},
          {with(6, 5), 0},
          {with(6, 30), 4},
          {with(6, 6), 0}},
         searched,
         4,
         3,
         " P2 P1 P3",
         "Подходят под поиск: 4. Лучших среди них: 3"},
    };
    for (const auto& c : cases) {
        const Plans plans(c.plans);
        const std::string body = BuildUnbeatenPage(plans.cat, c.search);
        EXPECT_EQ(count(body, "<circle"), c.circles) << c.rule;
        EXPECT_EQ(count(body, "<circle class=\"unbeaten\""), c.unbeaten) << c.rule;
        EXPECT_EQ(count(body, "<title>"), c.circles) << c.rule;
        const size_t table = body.find("<table");
        EXPECT_EQ(table == std::string::npos ? "" : groupsOf("<h4></h4>" + body.substr(table)),
                  c.rows.empty() ? "" : "[]" + c.rows)
            << c.rule;
        EXPECT_NE(body.find(c.text), std::string::npos) << c.rule << "\n" << body;
    }
}

TEST(UnbeatenPage, TitlesAreEscapedAndUnlimitedStandsAtTheRightEdge) {
    Plans plans({{kPlain, 0}, {with(1, kUnlimited), 0}});
    plans.cat.text(PlanTable, slot::PlanName, 1) = "A<b>&\"";
    SearchState search;
    const std::string body = BuildUnbeatenPage(plans.cat, search);
    EXPECT_NE(body.find("<title>A&lt;b&gt;&amp;&quot; — p1.ru</title>"), std::string::npos);
    EXPECT_NE(body.find(">неогр.</text>"), std::string::npos);
    EXPECT_NE(body.find("<circle class=\"unbeaten\" r=\"5.5\" cx=\"726.0\""), std::string::npos)
        << body;
}

}  // namespace
}  // namespace zorbinta
