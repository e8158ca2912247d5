// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the tool writes one field of a record, into base.db and into the CSV
// files alike: numbers in their shortest exact form, flags as 0 and 1, and
// the catalogue's "?*?" line marks as real line breaks.

#include <string>
#include <string_view>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueFields.h"

namespace zorbinta::tool {

// The mark a stored text holds where its text breaks a line.
inline constexpr std::string_view kLineMark = "?*?";

// Appends text with every "?*?" of it, from the left, as `lineBreak`.
void appendWithBreaks(std::string& out, std::string_view text, std::string_view lineBreak);

// The field of the row as text; a number with the given decimal separator.
std::string valueText(const Catalogue& c, int table, const RecordField& f, int row, char separator);

// The shortest text that reads back as exactly the same number, with the
// given decimal separator: 7 -> "7", 7.5 -> "7.5", 1e21 -> "1e+21".
std::string exactNumber(double value, char separator);

}  // namespace zorbinta::tool
