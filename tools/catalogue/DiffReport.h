// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What "diff" prints: the changes between two catalogues, for a reader or as
// JSON.

#include <string>
#include <vector>

#include "catalogue/core/CatalogueContents.h"
#include "catalogue/core/CatalogueDiff.h"

namespace zorbinta::tool {

// The update records compared by position: the n-th of the old file with the
// n-th of the new one.
struct VersionChange {
    ChangeKind change = ChangeKind::Changed;
    int index = 0;  // 1-based position in the file that holds it
    std::vector<FieldChange> fields;
};

struct CatalogueDiff {
    CatalogueChanges records;
    std::vector<VersionChange> versions;
    bool empty() const { return records.empty() && versions.empty(); }
};

CatalogueDiff diffCatalogues(const CatalogueContents& before, const CatalogueContents& after);

// One line a record added or removed, a line and one indented line a field
// for a record changed, then the summary line.
std::string diffText(const CatalogueContents& before, const CatalogueContents& after,
                     const CatalogueDiff& diff);
std::string diffJson(const CatalogueContents& before, const CatalogueContents& after,
                     const CatalogueDiff& diff);

}  // namespace zorbinta::tool
