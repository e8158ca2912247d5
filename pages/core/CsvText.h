// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A page's table as a CSV file in one of two dialects. Both quote only a
// cell that holds the separator, a quote, CR or LF, doubling its quotes, and
// end every line, the last one too, with CR LF.

#include <string>

#include "pages/core/PageTable.h"

namespace zorbinta {

enum class CsvDialect {
    // What Excel and LibreOffice Calc read with Russian settings: UTF-8 with
    // a byte-order mark, ";" between cells, a decimal comma.
    Excel,
    // RFC 4180: UTF-8 without a mark, "," between cells, a decimal point.
    Rfc4180,
};

// The file's bytes: the captions line, then one line per row. Numbers in the
// general number format with the dialect's decimal separator (7,5 or 7.5).
std::string csvText(const PageTable& table, CsvDialect dialect);

}  // namespace zorbinta
