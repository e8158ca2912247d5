// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "export": a catalogue as the texts of the five CSV files.

#include <array>
#include <string>

#include "catalogue/core/CatalogueContents.h"
#include "tools/catalogue/CsvFiles.h"

namespace zorbinta::tool {

// The texts of the five CSV files, in the order of kCsvFiles.
std::array<std::string, kCsvFileCount> exportCsv(const CatalogueContents& contents);

}  // namespace zorbinta::tool
