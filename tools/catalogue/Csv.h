// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Comma-separated values as RFC 4180 has them, in UTF-8: the form in which
// the catalogue's keepers edit its tables in a spreadsheet.

#include <string>
#include <string_view>
#include <vector>

namespace zorbinta::tool {

struct CsvRow {
    int line = 0;  // the line of the file the row begins on, from 1
    std::vector<std::string> fields;
};

struct CsvError {
    int line = 0;
    int column = 0;  // the field's number in its row, from 1
    std::string message;
};

// Splits text into rows. Fields are separated by ",", rows end at CR LF, LF
// or CR; a field that begins with '"' is quoted and may hold commas, line
// breaks and '""' for a quote. A byte order mark at the start is skipped, and
// so are empty lines. A quoted field the text ends inside, or text after a
// closing quote, is an error; the rows before it are kept.
bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, CsvError& error);

enum class CsvQuoting { AsNeeded, Always };

// Appends one field, quoted when it holds a comma, a quote or a line break,
// or always.
void appendCsvField(std::string& out, std::string_view value,
                    CsvQuoting quoting = CsvQuoting::AsNeeded);

}  // namespace zorbinta::tool
