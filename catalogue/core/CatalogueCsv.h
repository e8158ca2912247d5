#pragma once
// The catalogue tool's work on catalogues in memory: a base.db's bytes to its
// tables and back, and the tables to the CSV files a keeper edits and back.
// Reading and writing the files themselves is the tool's.
//
// The CSV files hold one table each, a header row of field names and a row a
// record, in the record order of the catalogue and with the columns in the
// order the file's records hold the fields (see recordFields). Numbers are
// written with a decimal point, flags as 0 and 1, texts always quoted and
// with the catalogue's "?*?" line marks as line breaks.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/NewVersionOffer.h"

namespace zorbinta {

// providers.csv, plans.csv, free.csv and domains.csv hold tables 1 to 4;
// version.csv holds the update records.
inline constexpr int kCsvFileCount = 5;
inline constexpr int kVersionCsv = 4;  // index of version.csv in kCsvFiles
inline constexpr std::array<std::string_view, kCsvFileCount> kCsvFiles = {
    "providers.csv", "plans.csv", "free.csv", "domains.csv", "version.csv"};

struct VersionRecord {
    std::string version;  // CatalogueVersion
    std::string link;     // NewVersionLink
    bool operator==(const VersionRecord&) const = default;
};

// Everything a catalogue file holds: the four tables (rows 1 to their counts)
// and its update records in file order.
struct CatalogueContents {
    std::unique_ptr<Catalogue> tables = std::make_unique<Catalogue>();
    std::vector<VersionRecord> versions;
};

// The loader's new-version offer for a load outside the program: it keeps
// what each update record says and asks nobody anything.
class VersionRecords final : public NewVersionOffer {
public:
    void OfferNewVersion(const std::string& catalogueVersion,
                         const std::string& newVersionLink) override {
        records.push_back({catalogueVersion, newVersionLink});
    }
    std::vector<VersionRecord> records;
};

// Loads base.db bytes as the program does. Throws Error with the load's
// message.
CatalogueContents loadCatalogueBytes(std::string_view fileBytes);

// The base.db bytes of the contents, in the one layout the tool writes: the
// update records, then the records of tables 1 to 4 in row order, each tag
// and field followed by "|", numbers in their shortest exact form, line
// marks as CR LF, Windows-1251. The contents must be buildable: texts
// without "|" and within the code page, which buildFromCsv ensures.
std::string catalogueBytes(const CatalogueContents& contents);

// The texts of the five CSV files, in the order of kCsvFiles.
std::array<std::string, kCsvFileCount> exportCsv(const CatalogueContents& contents);

struct CsvProblem {
    int file = 0;  // index in kCsvFiles
    int line = 0;  // 0 for a problem of the whole file
    int column = 0;
    std::string message;
};

// Reads the CSV files (nullopt for a file that is missing) and checks every
// row. On success fills contents and returns no problems; otherwise returns
// every problem found, in file, line and column order.
std::vector<CsvProblem> buildFromCsv(
    const std::array<std::optional<std::string>, kCsvFileCount>& files,
    CatalogueContents& contents);

// The shortest text that reads back as exactly the same number, with the
// given decimal separator: 7 -> "7", 7.5 -> "7.5", 1e21 -> "1e+21".
std::string exactNumber(double value, char separator);

}  // namespace zorbinta
