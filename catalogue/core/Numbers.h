// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts as the user's regional settings write them: a comma is the
// decimal separator, there is no digit grouping.

#include <string>
#include <string_view>

namespace zorbinta {

// The general number format: shortest decimal form with at most 15
// significant digits, no trailing zeros, "," as separator; exponent form for
// more than 15 integer digits or values below 0,00001 (7 -> "7", 7.5 -> "7,5").
std::string formatGeneral(double value);

// A price: the general format padded to at least two decimals
// (10 -> "10,00", 10.5 -> "10,50", 10.125 -> "10,125").
std::string formatPrice(double value);

// Where a number or a flag was written.
enum class Written {
    // By the program's rules, as in base.db and the search fields: "," before
    // the decimals; a flag is any number (0 false, any other true) or the
    // words True / False.
    Regionally,
    // In a CSV file from a spreadsheet: "." or "," before the decimals, and
    // a value too small to keep is refused rather than read as 0; a flag is
    // 0, 1, True or False, with spaces around it allowed.
    InSheet,
};

// Conversions that throw Error with the runtime's texts:
// "'%s' is not a valid floating point value" and so on. A number is
// [sign] digits [separator digits] [E [sign] digits], with spaces and tabs
// around it and at least one digit before the exponent.
double parseFloat(std::string_view text);
int parseInt(std::string_view text);
// A flag: any number other than 0 is true, 0 is false, otherwise the words
// True / False in any letter case.
bool parseFlag(std::string_view text);

// The same without throwing.
bool tryParseFloat(std::string_view text, double& value, Written written = Written::Regionally);
bool tryParseInt(std::string_view text, int& value);
bool tryParseFlag(std::string_view text, bool& value, Written written = Written::Regionally);

// The text without leading and trailing spaces and tabs.
std::string_view trimmed(std::string_view s);
// Equal but for the letter case of ASCII letters.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Decimal text of a whole number; doubles are rounded half to even first.
std::string formatInt(long long value);
long long roundToInt(double value);

}  // namespace zorbinta
