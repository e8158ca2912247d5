// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/CsvFiles.h"

namespace zorbinta::tool {
namespace {

constexpr std::array<RecordField, 2> kVersionFields = {{
    {FieldKind::Text, 1, "CatalogueVersion"},
    {FieldKind::Text, 2, "NewVersionLink"},
}};

}  // namespace

std::span<const RecordField> csvFields(int file) {
    return file == kVersionCsv ? std::span<const RecordField>(kVersionFields)
                               : recordFields(file + 1);
}

}  // namespace zorbinta::tool
