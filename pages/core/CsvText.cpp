// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/CsvText.h"

#include <algorithm>

#include "catalogue/core/Numbers.h"

namespace zorbinta {
namespace {

void appendCell(std::string& out, const std::string& cell, char separator) {
    if (cell.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string numberText(double value, CsvDialect dialect) {
    std::string text = formatGeneral(value);
    if (dialect == CsvDialect::Rfc4180) std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace

std::string csvText(const PageTable& table, CsvDialect dialect) {
    const char separator = dialect == CsvDialect::Excel ? ';' : ',';
    std::string out = dialect == CsvDialect::Excel ? "\xEF\xBB\xBF" : "";
    auto endLine = [&out] { out += "\r\n"; };

    for (size_t k = 0; k < table.captions.size(); ++k) {
        if (k > 0) out += separator;
        appendCell(out, table.captions[k], separator);
    }
    endLine();
    for (const auto& row : table.rows) {
        for (size_t k = 0; k < row.size(); ++k) {
            if (k > 0) out += separator;
            const TableCell& cell = row[k];
            appendCell(out, cell.isNumber ? numberText(cell.number, dialect) : cell.text,
                       separator);
        }
        endLine();
    }
    return out;
}

}  // namespace zorbinta
