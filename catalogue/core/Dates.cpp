// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/Dates.h"

#include <chrono>

namespace zorbinta {

bool isIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    // The digits from..to-1 as a number; -1 when any of them is not a digit.
    const auto number = [text](size_t from, size_t to) {
        int value = 0;
        for (size_t i = from; i < to; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 7);
    const int day = number(8, 10);
    if (year < 0 || month < 0 || day < 0) return false;
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    return date.ok();
}

}  // namespace zorbinta
