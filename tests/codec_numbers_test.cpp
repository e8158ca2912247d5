// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/core/Dates.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"

namespace zorbinta {
namespace {

TEST(Win1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = fromCp1251(all);
    EXPECT_EQ(toCp1251(utf8), all);
    // The one byte the code page leaves undefined maps to U+0098.
    EXPECT_EQ(fromCp1251("\x98"), "\xC2\x98");
}

TEST(Win1251, KnownLetters) {
    const struct {
        const char* cp1251;
        const char* utf8;
    } cases[] = {
        {"\xC0", "А"}, {"\xFF", "я"},      {"\xA8", "Ё"}, {"\xB8", "ё"},
        {"\xB9", "№"}, {"\xAB\xBB", "«»"}, {"\x97", "—"}, {"abc", "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromCp1251(c.cp1251), c.utf8) << c.utf8;
        EXPECT_EQ(toCp1251(c.utf8), c.cp1251) << c.utf8;
    }
    // Characters the code page lacks become '?'.
    EXPECT_EQ(toCp1251("a€b✓"),
              "a\x88"
              "b?");
}

// A text decoded into a string that already holds one: longer, shorter,
// empty, with letters of two and three bytes; the result is sized exactly
// when the string must grow.
TEST(Win1251, AssignReplacesWhatTheStringHeld) {
    const std::string all = [] {
        std::string bytes;
        for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
        return bytes;
    }();
    const struct {
        std::string before;
        std::string bytes;
    } cases[] = {
        {"", "\xC0\xE1\xE2 \x97 \x88"}, {std::string(200, 'x'), "\xCA\xEE\xF0\xEE\xF2\xEA\xEE"},
        {"\xD0\x90\xD0\x91", ""},       {"short", all},
        {fromCp1251(all), all + all},
    };
    for (const auto& c : cases) {
        std::string out = c.before;
        const size_t room = out.capacity();
        assignFromCp1251(out, c.bytes);
        EXPECT_EQ(out, fromCp1251(c.bytes));
        EXPECT_EQ(toCp1251(out), c.bytes);
        EXPECT_EQ(out.capacity(), out.size() > room ? out.size() : room);
    }
}

TEST(Win1251, CompareFollowsCodePageBytes) {
    // Ascending Windows-1251 byte order, not Unicode order.
    const std::vector<std::string> ascending = {"",  "0", "09", "9", "A", "Z", "a",
                                                "z", "Ё", "ё",  "А", "Я", "а", "я"};
    for (size_t i = 0; i < ascending.size(); ++i) {
        for (size_t j = 0; j < ascending.size(); ++j) {
            const int expected = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(compareCp1251(ascending[i], ascending[j]), expected)
                << "'" << ascending[i] << "' vs '" << ascending[j] << "'";
        }
    }
    EXPECT_LT(compareCp1251("ab", "abc"), 0);
    EXPECT_GT(compareCp1251("абв", "аб"), 0);
}

TEST(Numbers, GeneralFormat) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {7, "7"},
        {7.5, "7,5"},
        {0.1 + 0.2, "0,3"},
        {-2.5, "-2,5"},
        {0, "0"},
        {99999, "99999"},
        {12.5, "12,5"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {123456789012345, "123456789012345"},
        {1234567890123456, "1,23456789012346E15"},
        {1e15, "1E15"},
        {0.00001, "0,00001"},
        {0.000001, "1E-6"},
        {0.0000015, "1,5E-6"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatGeneral(c.value), c.text) << c.text;
}

// Whole numbers and cents take a quicker way; they and their neighbours come
// out as printf's 15 significant digits do, with a comma.
TEST(Numbers, GeneralFormatOfCentsAsFifteenDigits) {
    for (const double base : {0.01, 0.1, 1.0, 19.95, 1234.5, 99999.0, 1e11, 999999999999.99}) {
        for (const double v : {base, -base, std::nextafter(base, 0.0), std::nextafter(base, 1e13),
                               base * 3 + 0.07, base / 7}) {
            char reference[40];
            std::snprintf(reference, sizeof reference, "%.15g", v);
            std::string expected = reference;
            if (expected.find('e') != std::string::npos) continue;
            for (char& c : expected) c = c == '.' ? ',' : c;
            EXPECT_EQ(formatGeneral(v), expected) << reference;
        }
    }
}

TEST(Numbers, PriceFormat) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {10, "10,00"}, {10.5, "10,50"}, {7.5, "7,50"}, {10.125, "10,125"}, {0, "0,00"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPrice(c.value), c.text) << c.text;
}

TEST(Numbers, ParseFloat) {
    const struct {
        const char* text;
        double value;
    } good[] = {
        {"10", 10}, {"2,5", 2.5}, {"-7,25", -7.25}, {" 3 ", 3}, {"1E3", 1000}, {"12,50", 12.5},
    };
    for (const auto& c : good) EXPECT_DOUBLE_EQ(parseFloat(c.text), c.value) << c.text;

    for (const char* bad : {"", "2.5", "abc", "1,2,3", "1E", ","}) {
        try {
            parseFloat(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid floating point value");
        }
    }
}

TEST(Numbers, ParseInt) {
    EXPECT_EQ(parseInt("42"), 42);
    EXPECT_EQ(parseInt("-7"), -7);
    for (const char* bad : {"", "4,5", "x", "99999999999"}) {
        try {
            parseInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(Numbers, ParseFlag) {
    const struct {
        const char* text;
        bool value;
    } good[] = {
        {"TRUE", true},   {"true", true},   {"True", true}, {"tRuE", true},
        {"false", false}, {"FALSE", false}, {"0", false},   {"1", true},
        {"2", true},      {"-1", true},     {"0,0", false}, {"0,5", true},
    };
    for (const auto& c : good) EXPECT_EQ(parseFlag(c.text), c.value) << c.text;

    for (const char* bad : {"yes", "", "no", "truee", "да"}) {
        try {
            parseFlag(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid boolean value");
        }
    }
}

// A spreadsheet's CSV: either separator, nothing too small to keep, and only
// 0 and 1 (or the words) for a flag; the program's own rules take "," alone,
// read a value too small as 0 and take any number as a flag.
TEST(Numbers, WrittenInASheet) {
    const struct {
        const char* text;
        bool sheet;    // read as a number in a sheet
        bool program;  // read as a number by the program's rules
        double value;
    } numbers[] = {
        {"2.5", true, false, 2.5},  {"2,5", true, true, 2.5},   {" +1e3 ", true, true, 1000},
        {"1.2.3", false, false, 0}, {"1.2,3", false, false, 0}, {".", false, false, 0},
        {"+-5", false, false, 0},   {"1e-400", false, true, 0}, {"1e400", false, false, 0},
    };
    for (const auto& c : numbers) {
        double value = 0;
        EXPECT_EQ(tryParseFloat(c.text, value, Written::InSheet), c.sheet) << c.text;
        EXPECT_TRUE(!c.sheet || value == c.value) << c.text;
        EXPECT_EQ(tryParseFloat(c.text, value), c.program) << c.text;
    }
    const struct {
        const char* text;
        bool sheet;    // read as a flag in a sheet
        bool program;  // read as a flag by the program's rules
        bool value;
    } flags[] = {
        {" 1 ", true, true, true}, {"TRUE", true, true, true},  {" false", true, false, false},
        {"2", false, true, true},  {"0,0", false, true, false}, {"yes", false, false, false},
    };
    for (const auto& c : flags) {
        bool sheet = !c.value;
        EXPECT_EQ(tryParseFlag(c.text, sheet, Written::InSheet), c.sheet) << c.text;
        EXPECT_TRUE(!c.sheet || sheet == c.value) << c.text;
        bool program = !c.value;
        EXPECT_EQ(tryParseFlag(c.text, program), c.program) << c.text;
        EXPECT_TRUE(!c.program || program == c.value) << c.text;
    }
}

// Dates of the calendar only: the month's length, leap years, digits alone.
TEST(Dates, IsoDates) {
    for (const char* date : {"2004-11-02", "2000-02-29", "2024-02-29", "1999-12-31", "0000-01-01"})
        EXPECT_TRUE(isIsoDate(date)) << date;
    for (const char* date :
         {"1900-02-29", "2001-02-29", "2001-04-31", "2001-13-01", "2001-00-10", "2001-01-00",
          "2001-1-01", "02.02.2001", "+001-01-01", "2001-01-01 ", ""})
        EXPECT_FALSE(isIsoDate(date)) << date;
}

}  // namespace
}  // namespace zorbinta
