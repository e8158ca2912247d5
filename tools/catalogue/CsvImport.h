// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "build": the texts of the five CSV files read and checked into a
// catalogue.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/core/CatalogueContents.h"
#include "tools/catalogue/CsvFiles.h"

namespace zorbinta::tool {

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

}  // namespace zorbinta::tool
