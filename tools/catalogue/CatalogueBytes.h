// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A catalogue written as base.db, as the tool's "build" writes it.

#include <string>

#include "catalogue/core/CatalogueContents.h"

namespace zorbinta::tool {

// The base.db bytes of the contents, in the one layout the tool writes: the
// update records, then the records of tables 1 to 4 in row order, each tag
// and field followed by "|", numbers in their shortest exact form, line
// marks as CR LF, Windows-1251. The contents must be buildable: texts
// without "|" and within the code page, which buildFromCsv ensures.
std::string catalogueBytes(const CatalogueContents& contents);

}  // namespace zorbinta::tool
