// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/FieldText.h"

#include <algorithm>
#include <charconv>

namespace zorbinta::tool {

void appendWithBreaks(std::string& out, std::string_view text, std::string_view lineBreak) {
    for (size_t mark = text.find(kLineMark); mark != std::string_view::npos;
         mark = text.find(kLineMark)) {
        out.append(text.substr(0, mark));
        out.append(lineBreak);
        text.remove_prefix(mark + kLineMark.size());
    }
    out.append(text);
}

std::string valueText(const Catalogue& c, int table, const RecordField& f, int row,
                      char separator) {
    switch (f.kind) {
        case FieldKind::Text:
            return c.text(table, f.slot, row);
        case FieldKind::Number:
            return exactNumber(c.number(table, f.slot, row), separator);
        case FieldKind::Flag:
            return c.flag(table, f.slot, row) ? "1" : "0";
    }
    return {};
}

std::string exactNumber(double value, char separator) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

}  // namespace zorbinta::tool
