// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/Csv.h"

namespace zorbinta::tool {

bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, CsvError& error) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    size_t i = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    int line = 1;
    // Skips one line break at i; false when there is none.
    const auto lineBreak = [&] {
        if (i >= text.size() || (text[i] != '\r' && text[i] != '\n')) return false;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++i;
        ++line;
        return true;
    };
    while (i < text.size()) {
        if (lineBreak()) continue;  // an empty line
        CsvRow row;
        row.line = line;
        for (;;) {
            std::string value;
            const int column = static_cast<int>(row.fields.size()) + 1;
            if (i < text.size() && text[i] == '"') {
                const int opened = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = {opened, column,
                                 "the file ends inside the quoted field that begins here"};
                        return false;
                    }
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            value.push_back('"');
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) {
                        ++line;
                    }
                    value.push_back(c);
                    ++i;
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                    error = {line, column, "text after the closing quote of a field"};
                    return false;
                }
            } else {
                const size_t end = text.find_first_of(",\r\n", i);
                const size_t stop = end == std::string_view::npos ? text.size() : end;
                value.assign(text.substr(i, stop - i));
                i = stop;
            }
            row.fields.push_back(std::move(value));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            lineBreak();
            break;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

void appendCsvField(std::string& out, std::string_view value, CsvQuoting quoting) {
    if (quoting == CsvQuoting::AsNeeded &&
        value.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(value);
        return;
    }
    out.push_back('"');
    for (const char c : value) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

}  // namespace zorbinta::tool
