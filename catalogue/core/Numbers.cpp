// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "catalogue/core/Error.h"

namespace zorbinta {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Most numbers of a catalogue are plain whole numbers; these are exact
// without the general conversion.
bool plainWholeNumber(std::string_view text, double& value) {
    if (text.empty() || text.size() > 15) return false;
    long long n = 0;
    for (const char c : text) {
        if (!isDigit(c)) return false;
        n = n * 10 + (c - '0');
    }
    value = static_cast<double>(n);
    return true;
}

}  // namespace

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool tryParseFloat(std::string_view text, double& value, Written written) {
    if (plainWholeNumber(text, value)) return true;
    const std::string_view s = trimmed(text);
    // [sign] digits [, digits] [E [sign] digits], at least one mantissa digit.
    std::string normal;
    normal.reserve(s.size());
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') normal.push_back('-');
        ++i;
    }
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        normal.push_back(s[i++]);
        ++digits;
    }
    if (i < s.size() && (s[i] == ',' || (s[i] == '.' && written == Written::InSheet))) {
        normal.push_back('.');
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            normal.push_back(s[i++]);
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
        size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            normal.push_back(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    const char* begin = normal.data();
    const char* end = begin + normal.size();
    double parsed = 0;
    const auto result = std::from_chars(begin, end, parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow and overflow; the runtime gives 0 and
        // rejects overflow. A sheet's value too small to keep is named, not
        // silently made 0.
        if (written == Written::InSheet) return false;
        parsed = std::strtod(normal.c_str(), nullptr);
        if (std::isinf(parsed)) return false;
    } else if (result.ec != std::errc() || result.ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}

double parseFloat(std::string_view text) {
    double value = 0;
    if (!tryParseFloat(text, value)) {
        throw Error("'" + std::string(text) + "' is not a valid floating point value");
    }
    return value;
}

bool tryParseInt(std::string_view text, int& value) {
    std::string_view s = text;
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    if (s.empty()) return false;
    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return false;
    long long n = 0;
    for (const char c : s) {
        if (!isDigit(c)) return false;
        n = n * 10 + (c - '0');
        if (n > 2147483648LL) return false;
    }
    if (negative) n = -n;
    if (n > 2147483647LL || n < -2147483648LL) return false;
    value = static_cast<int>(n);
    return true;
}

int parseInt(std::string_view text) {
    int value = 0;
    if (!tryParseInt(text, value)) {
        throw Error("'" + std::string(text) + "' is not a valid integer value");
    }
    return value;
}

bool tryParseFlag(std::string_view text, bool& value, Written written) {
    if (written == Written::InSheet) {
        const std::string_view s = trimmed(text);
        if (s == "1" || equalsIgnoringCase(s, "true")) {
            value = true;
        } else if (s == "0" || equalsIgnoringCase(s, "false")) {
            value = false;
        } else {
            return false;
        }
        return true;
    }
    if (text.size() == 1 && isDigit(text[0])) {
        value = text[0] != '0';
        return true;
    }
    double number = 0;
    if (tryParseFloat(text, number)) {
        value = number != 0;
    } else if (equalsIgnoringCase(text, "true")) {
        value = true;
    } else if (equalsIgnoringCase(text, "false")) {
        value = false;
    } else {
        return false;
    }
    return true;
}

bool parseFlag(std::string_view text) {
    bool value = false;
    if (!tryParseFlag(text, value)) {
        throw Error("'" + std::string(text) + "' is not a valid boolean value");
    }
    return value;
}

namespace {

// Whole numbers and amounts in cents, most of what a catalogue holds, written
// straight from their digits: a double that is the nearest one to n / 100,
// for n below 10^14, shows as n / 100 itself at 15 significant digits.
bool formatCents(double value, std::string& out) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e12)) return false;
    const long long cents = std::llround(magnitude * 100);
    if (static_cast<double>(cents) / 100 != magnitude) return false;
    out = value < 0 ? "-" : "";
    out += std::to_string(cents / 100);
    const auto fraction = static_cast<int>(cents % 100);
    if (fraction != 0) {
        out += ',';
        out += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
    }
    return true;
}

}  // namespace

std::string formatGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    if (std::string quick; formatCents(value, quick)) return quick;
    char buffer[40];
    // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (isDigit(*p)) digits.push_back(*p);
    }
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || std::fabs(value) < 0.00001) {
        out += digits[0];
        if (digits.size() > 1) {
            out += ',';
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += "0,";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
        out += digits;
        out.append(whole - digits.size(), '0');
    } else {
        out.append(digits, 0, whole);
        out += ',';
        out.append(digits, whole, std::string::npos);
    }
    return out;
}

std::string formatPrice(double value) {
    std::string text = formatGeneral(value);
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        text += ",00";
    } else if (text.size() - comma - 1 == 1) {
        text += '0';
    }
    return text;
}

std::string formatInt(long long value) {
    return std::to_string(value);
}

long long roundToInt(double value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 9.2e18) return 9200000000000000000LL;
    if (value <= -9.2e18) return -9200000000000000000LL;
    return std::llrint(value);  // the default rounding mode: half to even
}

}  // namespace zorbinta
