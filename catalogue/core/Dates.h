// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dates as the catalogue holds them (a provider's UpdatedOn).

#include <string_view>

namespace zorbinta {

// A day of the calendar written YYYY-MM-DD: digits in those places only, a
// month from 01 to 12 and a day that month has (29 February in leap years).
// The only form of a date that orders as text.
bool isIsoDate(std::string_view text);

}  // namespace zorbinta
