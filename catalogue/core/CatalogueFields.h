// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fields of each table's record, in the order a base.db record holds
// them, with the names the keepers of the catalogue see in the tool's CSV
// files and in the list of changes.

#include <span>
#include <string_view>

#include "catalogue/core/CatalogueDiff.h"

namespace zorbinta {

struct RecordField {
    FieldKind kind = FieldKind::Text;
    int slot = 0;  // 1-based slot of that kind
    std::string_view name;
};

// Every field of a record of the table (1 to 4), in file order.
std::span<const RecordField> recordFields(int table);

// The record's tag in base.db: "prov", "vs", "free", "dom".
std::string_view recordTag(int table);

}  // namespace zorbinta
