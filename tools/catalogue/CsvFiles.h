// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV files a keeper edits: one table each, a header row of field names
// and a row a record, in the record order of the catalogue and with the
// columns in the order the file's records hold the fields (see
// recordFields). Numbers are written with a decimal point, flags as 0 and 1,
// texts always quoted and with the catalogue's "?*?" line marks as line
// breaks. Reading and writing the files themselves is the tool's main.

#include <array>
#include <span>
#include <string_view>

#include "catalogue/core/CatalogueFields.h"

namespace zorbinta::tool {

// providers.csv, plans.csv, free.csv and domains.csv hold tables 1 to 4;
// version.csv holds the update records.
inline constexpr int kCsvFileCount = 5;
inline constexpr int kVersionCsv = 4;  // index of version.csv in kCsvFiles
inline constexpr std::array<std::string_view, kCsvFileCount> kCsvFiles = {
    "providers.csv", "plans.csv", "free.csv", "domains.csv", "version.csv"};

// The fields of the CSV file with index `file`, in column order.
std::span<const RecordField> csvFields(int file);

}  // namespace zorbinta::tool
