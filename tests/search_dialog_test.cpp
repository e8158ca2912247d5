// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/Error.h"
#include "search/core/SearchDialog.h"
#include "tests/Recording.h"

namespace zorbinta {
namespace {

using testing::RecordingDialogs;

TEST(SearchDialog, KeyFilters) {
    const auto W = KeyFilter::WholeNumber;
    const auto T = KeyFilter::OneDecimal;
    const auto P = KeyFilter::TwoDecimals;
    const auto A = KeyOutcome::Accepted;
    const auto R = KeyOutcome::Replaced;
    const auto X = KeyOutcome::Refused;
    struct Case {
        KeyFilter filter;
        const char* text;
        int caret;
        char32_t key;
        KeyOutcome outcome;
        char32_t character;
    };
    const Case cases[] = {
        {W, "", 0, U'5', A, U'5'},
        {W, "12", 2, kBackspace, A, kBackspace},
        {W, "12", 1, U'.', X, 0},
        {W, "12", 2, U',', X, 0},
        {W, "12", 2, U'a', X, 0},
        {W, "12", 2, 3, X, 0},  // Ctrl+C
        {W, "12", 2, U'ж', X, 0},
        // A pasted comma: digits only to its left.
        {W, "1,5", 1, U'7', A, U'7'},
        {W, "1,5", 2, U'7', X, 0},
        {W, "1,5", 3, U'7', X, 0},
        // Traffic: one digit after the comma.
        {T, "3,", 2, U'5', A, U'5'},
        {T, "3,5", 3, U'1', X, 0},
        {T, "3,5", 2, U'1', X, 0},
        {T, "3,5", 1, U'1', A, U'1'},
        {T, "3,5", 0, U'1', A, U'1'},
        // Price: two digits after the comma.
        {P, "12,5", 4, U'0', A, U'0'},
        {P, "12,50", 5, U'1', X, 0},
        {P, "12,50", 1, U'1', A, U'1'},
        {P, "12,50", 3, U'1', X, 0},
        {P, "12,50", 2, U'1', A, U'1'},
        // Decimal separators.
        {P, "", 0, U'.', X, 0},
        {P, "12", 2, U'.', R, U','},
        {P, "12", 2, U',', A, U','},
        {P, "12", 1, U'.', R, U','},
        {P, "12", 0, U',', X, 0},
        {P, "1,2", 3, U',', X, 0},
        {T, "1,2", 1, U'.', X, 0},
        {T, "7", 1, U'.', R, U','},
        {T, "7", 1, U'x', X, 0},
        {T, "7", 1, kBackspace, A, kBackspace},
    };
    for (const Case& c : cases) {
        const KeyResult r = filterKey(c.filter, c.text, c.caret, c.key);
        EXPECT_EQ(r.outcome, c.outcome) << c.text << " caret " << c.caret << " key " << int(c.key);
        EXPECT_EQ(r.character, c.character) << c.text << " caret " << c.caret;
    }
}

TEST(SearchDialog, TypingEditsAtTheCaretWithinMaxLength) {
    RecordingDialogs dialogs;
    SearchDialog d(dialogs);
    for (const char32_t k : {U'1', U'2', U'.', U'5', U'0', U'9'}) d.keyPress(6, k);
    EXPECT_EQ(d.Edit[6], "12,50");
    EXPECT_EQ(d.keyPress(6, U'3', 1).outcome, KeyOutcome::Accepted);
    EXPECT_EQ(d.Edit[6], "132,50");
    d.keyPress(6, kBackspace, 2);
    EXPECT_EQ(d.Edit[6], "12,50");
    d.keyPress(6, kBackspace, 0);
    EXPECT_EQ(d.Edit[6], "12,50");

    for (const char32_t k : {U'1', U'2', U'3', U'4'}) d.keyPress(3, k);
    EXPECT_EQ(d.Edit[3], "123");
    EXPECT_EQ(d.keyPress(3, U'4').outcome, KeyOutcome::Refused);
    d.keyPress(3, kBackspace);
    EXPECT_EQ(d.Edit[3], "12");

    // MaxLength counts characters, also of pasted Cyrillic text.
    d.Edit[4] = "жж";
    EXPECT_EQ(d.keyPress(4, U'1', 1).outcome, KeyOutcome::Accepted);
    EXPECT_EQ(d.Edit[4], "ж1ж");
    EXPECT_EQ(d.keyPress(4, U'2').outcome, KeyOutcome::Refused);
    d.keyPress(4, kBackspace, 1);
    EXPECT_EQ(d.Edit[4], "1ж");
}

TEST(SearchDialog, FindSetsBoundsAndOptionsAndCloses) {
    RecordingDialogs dialogs;
    SearchDialog d(dialogs);
    d.Edit = {"", "100", "500", "", "3", "", "", "1", "7"};
    d.CheckBox[1] = true;   // traffic unlimited, whatever the field holds
    d.CheckBox[4] = true;   // MySQL unlimited
    d.CheckBox[5] = true;   // PHP
    d.CheckBox[19] = true;  // daily backup
    EXPECT_FALSE(d.searched);
    d.Button1Click();
    EXPECT_TRUE(d.searched);
    const std::array<double, 9> expected = {0, 100, 99999, 0, 3, 99999, 99999, 1, 7};
    EXPECT_EQ(d.criteria.Bounds, expected);
    for (int j = 1; j <= 15; ++j) EXPECT_EQ(d.criteria.Options[j], (j == 1 || j == 15) ? 1 : 0);
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Search});

    d.Edit[6] = "12,5";
    d.Button1Click();
    EXPECT_EQ(d.criteria.Bounds[6], 12.5);
}

TEST(SearchDialog, PastedTextStopsFindWithEarlierBoundsSet) {
    RecordingDialogs dialogs;
    SearchDialog d(dialogs);
    d.criteria.Bounds = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    d.criteria.Options[3] = 1;
    d.Edit = {"", "10", "20", "abc", "40", "", "", "", ""};
    d.CheckBox[7] = true;
    try {
        d.Button1Click();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    const std::array<double, 9> expected = {0, 10, 20, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(d.criteria.Bounds, expected);
    EXPECT_FALSE(d.searched);
    EXPECT_EQ(d.criteria.Options[3], 1);
    EXPECT_EQ(d.criteria.Options[7], 0);
    EXPECT_TRUE(dialogs.closed.empty());
}

TEST(SearchDialog, CancelAndCloseBoxKeepTheCriteria) {
    RecordingDialogs dialogs;
    SearchDialog d(dialogs);
    d.Edit[1] = "500";
    d.Button2Click();
    d.closeBox();
    EXPECT_EQ(d.criteria.Bounds, (std::array<double, 9>{}));
    EXPECT_FALSE(d.searched);
    EXPECT_EQ(dialogs.closed, (std::vector<DialogId>{DialogId::Search, DialogId::Search}));
}

TEST(SearchDialog, ActivationRefillsDiskAndTrafficAndSetsCaptions) {
    RecordingDialogs dialogs;
    SearchDialog d(dialogs);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(d.CheckBoxCaption[i], "Неогр.");

    d.active();
    EXPECT_EQ(d.Edit[1], "");
    EXPECT_EQ(d.Edit[2], "");

    d.criteria.Bounds[1] = 250;
    d.criteria.Bounds[2] = 1.5;
    d.Edit[3] = "kept";
    d.active();
    EXPECT_EQ(d.Edit[1], "250");
    EXPECT_EQ(d.Edit[2], "1,5");
    EXPECT_EQ(d.Edit[3], "kept");

    // Unlimited traffic leaves the emptied field empty.
    d.Edit[2].clear();
    d.CheckBox[1] = true;
    d.criteria.Bounds[2] = 99999;
    d.active();
    EXPECT_EQ(d.Edit[2], "");

    const std::vector<std::string> texts = d.texts();
    ASSERT_EQ(texts.size(), 29u);
    EXPECT_EQ(texts[0], "Дисковое пространство(Мб)");
    EXPECT_EQ(texts[7], "Тестовый период (дней)");
    for (int i = 8; i < 12; ++i) EXPECT_EQ(texts[i], "Неогр.");
    EXPECT_EQ(texts[12], "PHP");
    EXPECT_EQ(texts[26], "Ежедневный Back-Up");
    EXPECT_EQ(texts[27], "Найти");
    EXPECT_EQ(texts[28], "Отмена");
}

TEST(SearchDialog, MatchTest) {
    Catalogue cat;
    // DiskMb, Traffic, Mailboxes, SubDomains, MySQL, MonthlyCost, MinPayment, Trial
    auto plan = [&](int row, std::array<double, 8> values, std::vector<int> flags) {
        for (int k = 0; k < 8; ++k) cat.number(PlanTable, k + 3, row) = values[k];
        for (const int f : flags) cat.flag(PlanTable, f, row) = 1;
    };
    plan(1, {100, 1000, 5, 1, 1, 12.5, 1, 0}, {slot::HasPhp, slot::HasPerl});
    plan(2, {100, 99999, 5, 1, 1, 12.51, 1, 0}, {slot::HasPerl});
    plan(3, {0, 0, 0, 0, 0, 0, 0, 0}, {});
    cat.PlanCount = 3;

    struct Case {
        const char* what;
        std::array<double, 9> bounds;
        std::vector<int> options;
        std::vector<bool> expected;  // rows 1..3
    };
    const Case cases[] = {
        {"start values", {}, {}, {false, false, true}},
        {"all empty", {0, 0, 0, 0, 0, 0, 99999, 0, 0}, {}, {true, true, true}},
        {"price 12,5 included", {0, 0, 0, 0, 0, 0, 12.5, 0, 0}, {}, {true, false, true}},
        {"PHP", {0, 0, 0, 0, 0, 0, 99999, 0, 0}, {1}, {true, false, false}},
        {"Perl", {0, 0, 0, 0, 0, 0, 99999, 0, 0}, {2}, {true, true, false}},
        {"unlimited traffic", {0, 0, 99999, 0, 0, 0, 99999, 0, 0}, {}, {false, true, false}},
        {"traffic 500", {0, 0, 500, 0, 0, 0, 99999, 0, 0}, {}, {true, true, false}},
        {"disk 100 inclusive", {0, 100, 0, 0, 0, 0, 99999, 0, 0}, {}, {true, true, false}},
        {"min payment at least", {0, 0, 0, 0, 0, 0, 99999, 2, 0}, {}, {false, false, false}},
        {"trial", {0, 0, 0, 0, 0, 0, 99999, 0, 1}, {}, {false, false, false}},
    };
    for (const Case& c : cases) {
        SearchCriteria criteria;
        criteria.Bounds = c.bounds;
        for (const int j : c.options) criteria.Options[j] = 1;
        for (int r = 1; r <= 3; ++r) {
            EXPECT_EQ(MatchesSearchCriteria(cat, criteria, r), c.expected[r - 1])
                << c.what << " row " << r;
        }
    }
}

}  // namespace
}  // namespace zorbinta
