// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/CsvImport.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <span>
#include <tuple>

#include "catalogue/core/CatalogueFields.h"
#include "catalogue/core/Dates.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "tools/catalogue/Csv.h"
#include "tools/catalogue/FieldText.h"

namespace zorbinta::tool {
namespace {

// ---- values read from the CSV files -------------------------------------------

std::string codePointName(char32_t cp) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(cp));
    return hex;
}

// A CSV text as the catalogue stores it: line breaks as "?*?". Empty when
// the text is fine, else what is wrong with it.
std::string storedText(std::string_view value, std::string& stored) {
    stored.clear();
    stored.reserve(value.size());
    size_t i = 0;
    while (i < value.size()) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            stored.append(kLineMark);
            i += c == '\r' && i + 1 < value.size() && value[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (c == '|') return "a text cannot hold '|': it ends a field in base.db";
        const size_t from = i;
        const char32_t cp = decodeUtf8(value, i);
        if (cp == 0xFFFD && value.substr(from, i - from) != "\xEF\xBF\xBD") {
            return "the text is not valid UTF-8";
        }
        if (cp == 0x1A) return "a text cannot hold the character U+001A: it ends base.db";
        if (cp1251ByteOf(cp) < 0) {
            return "the character " + std::string(value.substr(from, i - from)) + " (" +
                   codePointName(cp) + ") cannot be written in Windows-1251";
        }
        stored.append(value.substr(from, i - from));
    }
    return {};
}

// One file's rows checked and stored.
class CsvFileReader {
public:
    CsvFileReader(int file, CatalogueContents& contents, std::vector<CsvProblem>& problems)
        : file_(file), contents_(contents), problems_(problems) {}

    // False when the file could not be read as a table at all.
    bool read(const std::string& text) {
        std::vector<CsvRow> rows;
        CsvError error;
        const bool parsed = parseCsv(text, rows, error);
        if (!parsed) problem(error.line, error.column, error.message);
        if (rows.empty()) {
            if (parsed) problem(1, 1, "no header row: the first row names the columns");
            return false;
        }
        if (!readHeader(rows.front())) return false;
        for (size_t k = 1; k < rows.size(); ++k) readRow(rows[k], static_cast<int>(k));
        if (file_ != kVersionCsv) {
            const int n = std::min(static_cast<int>(rows.size()) - 1, kMaxRows);
            Catalogue& c = *contents_.tables;
            switch (file_ + 1) {
                case ProviderTable:
                    c.ProviderCount = n;
                    break;
                case PlanTable:
                    c.PlanCount = n;
                    break;
                case FreeHostTable:
                    c.FreeHostCount = n;
                    break;
                case DomainTable:
                    c.DomainEnd = n + 1;
                    break;
            }
        }
        return parsed;
    }

    // The line each row of the table began on, from row 1.
    const std::vector<int>& lines() const { return lines_; }
    // The column of the field, from 1.
    int columnOf(std::string_view name) const {
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i] != nullptr && columns_[i]->name == name) return static_cast<int>(i) + 1;
        }
        return 0;
    }

private:
    void problem(int line, int column, std::string message) {
        problems_.push_back({file_, line, column, std::move(message)});
    }

    bool readHeader(const CsvRow& header) {
        const std::span<const RecordField> fields = csvFields(file_);
        bool good = true;
        std::set<std::string_view> seen;
        for (size_t i = 0; i < header.fields.size(); ++i) {
            const std::string_view name = trimmed(header.fields[i]);
            const auto field = std::find_if(fields.begin(), fields.end(),
                                            [&](const RecordField& f) { return f.name == name; });
            const int column = static_cast<int>(i) + 1;
            if (field == fields.end()) {
                problem(header.line, column, "unknown column '" + std::string(name) + "'");
                good = false;
                columns_.push_back(nullptr);
            } else if (!seen.insert(field->name).second) {
                problem(header.line, column, "column " + std::string(name) + " appears twice");
                good = false;
                columns_.push_back(nullptr);
            } else {
                columns_.push_back(&*field);
            }
        }
        for (const RecordField& f : fields) {
            if (!seen.count(f.name)) {
                problem(header.line, static_cast<int>(header.fields.size()) + 1,
                        "missing column " + std::string(f.name));
                good = false;
            }
        }
        return good;
    }

    void readRow(const CsvRow& row, int number) {
        if (number > kMaxRows) {
            if (number == kMaxRows + 1) {
                problem(row.line, 1,
                        "more than " + std::to_string(kMaxRows) +
                            " rows: the catalogue holds at most " + std::to_string(kMaxRows) +
                            " records of a kind");
            }
            return;
        }
        lines_.push_back(row.line);
        if (file_ == kVersionCsv) contents_.versions.emplace_back();
        if (row.fields.size() != columns_.size()) {
            problem(row.line, static_cast<int>(std::min(row.fields.size(), columns_.size())) + 1,
                    std::to_string(row.fields.size()) + " fields where the header has " +
                        std::to_string(columns_.size()));
            return;
        }
        const int table = file_ + 1;
        Catalogue& c = *contents_.tables;
        std::string stored;
        for (size_t i = 0; i < columns_.size(); ++i) {
            const RecordField& f = *columns_[i];
            const std::string& value = row.fields[i];
            const int column = static_cast<int>(i) + 1;
            switch (f.kind) {
                case FieldKind::Text: {
                    if (std::string wrong = storedText(value, stored); !wrong.empty()) {
                        problem(row.line, column, std::string(f.name) + ": " + wrong);
                        break;
                    }
                    if (table == ProviderTable && f.slot == slot::UpdatedOn && !isIsoDate(stored)) {
                        problem(row.line, column,
                                "UpdatedOn: '" + stored + "' is not a date written YYYY-MM-DD");
                    }
                    if (file_ == kVersionCsv) {
                        VersionRecord& v = contents_.versions.back();
                        (f.slot == 1 ? v.version : v.link) = stored;
                    } else {
                        c.text(table, f.slot, number) = stored;
                    }
                    break;
                }
                case FieldKind::Number: {
                    double n = 0;
                    if (!tryParseFloat(value, n, Written::InSheet)) {
                        problem(row.line, column,
                                std::string(f.name) + ": '" + value + "' is not a number");
                        break;
                    }
                    if (table == DomainTable && f.slot == slot::ClientKind && n != 0 && n != 1) {
                        problem(row.line, column,
                                "ClientKind: '" + value +
                                    "' is neither 0 (clients without hosting) nor 1 (clients "
                                    "with hosting)");
                    }
                    c.number(table, f.slot, number) = n == 0 ? 0.0 : n;
                    break;
                }
                case FieldKind::Flag: {
                    bool flag = false;
                    if (!tryParseFlag(value, flag, Written::InSheet)) {
                        problem(
                            row.line, column,
                            std::string(f.name) + ": '" + value + "' is not a flag: write 0 or 1");
                        break;
                    }
                    c.flag(table, f.slot, number) = flag;
                    break;
                }
            }
        }
    }

    const int file_;
    CatalogueContents& contents_;
    std::vector<CsvProblem>& problems_;
    std::vector<const RecordField*> columns_;  // by column; null for a column not taken
    std::vector<int> lines_;
};

// The checks across rows and tables: provider ids unique, plans and domain
// offers naming a provider that exists.
void checkReferences(const Catalogue& c, const std::array<CsvFileReader*, kCsvFileCount>& readers,
                     std::vector<CsvProblem>& problems) {
    const CsvFileReader& providers = *readers[ProviderTable - 1];
    std::map<double, int> firstLine;
    const int idColumn = providers.columnOf("ProviderId");
    for (int r = 1; r <= c.ProviderCount; ++r) {
        const double id = c.number(ProviderTable, slot::ProviderId, r);
        const int line = providers.lines()[static_cast<size_t>(r) - 1];
        const auto [at, inserted] = firstLine.emplace(id, line);
        if (!inserted) {
            problems.push_back({ProviderTable - 1, line, idColumn,
                                "ProviderId " + formatGeneral(id) +
                                    " is used twice (first on line " + std::to_string(at->second) +
                                    ")"});
        }
    }
    const struct {
        int table;
        int slot;
        std::string_view name;
    } references[] = {{PlanTable, slot::PlanProviderId, "PlanProviderId"},
                      {DomainTable, slot::DomainProviderId, "DomainProviderId"}};
    for (const auto& ref : references) {
        const CsvFileReader& reader = *readers[static_cast<size_t>(ref.table) - 1];
        const int column = reader.columnOf(ref.name);
        for (int r = 1; r <= c.rowCount(ref.table); ++r) {
            const double id = c.number(ref.table, ref.slot, r);
            if (firstLine.count(id)) continue;
            problems.push_back({ref.table - 1, reader.lines()[static_cast<size_t>(r) - 1], column,
                                std::string(ref.name) + " " + formatGeneral(id) +
                                    " names no provider of providers.csv"});
        }
    }
}

}  // namespace

std::vector<CsvProblem> buildFromCsv(
    const std::array<std::optional<std::string>, kCsvFileCount>& files,
    CatalogueContents& contents) {
    CatalogueContents built;
    built.tables->DomainEnd = 1;
    std::vector<CsvProblem> problems;
    std::vector<CsvFileReader> readers;
    readers.reserve(kCsvFileCount);
    bool providersRead = false;
    bool allRead = true;
    for (int file = 0; file < kCsvFileCount; ++file) {
        readers.emplace_back(file, built, problems);
        const std::optional<std::string>& text = files[static_cast<size_t>(file)];
        if (!text) {
            problems.push_back({file, 0, 0, "missing"});
            allRead = false;
            continue;
        }
        const size_t before = problems.size();
        const bool read = readers.back().read(*text);
        allRead = allRead && read;
        if (file == ProviderTable - 1) providersRead = read && problems.size() == before;
    }
    // Ids and references are checked only against a provider table read
    // whole, so that one bad row does not make every plan of it an orphan.
    if (providersRead && allRead) {
        std::array<CsvFileReader*, kCsvFileCount> byFile{};
        for (size_t i = 0; i < readers.size(); ++i) byFile[i] = &readers[i];
        checkReferences(*built.tables, byFile, problems);
    }
    std::stable_sort(
        problems.begin(), problems.end(), [](const CsvProblem& a, const CsvProblem& b) {
            return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
        });
    if (problems.empty()) contents = std::move(built);
    return problems;
}

}  // namespace zorbinta::tool
