// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/CatalogueContents.h"

#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/ProgramFiles.h"

namespace zorbinta {

CatalogueContents loadCatalogueBytes(std::string_view fileBytes) {
    CatalogueContents contents;
    VersionRecords versions;
    // Only bytes are loaded here: the loader reads no file.
    CatalogueLoader loader(*contents.tables, ProgramFiles(std::string()), versions);
    loader.loadBytes(fileBytes);
    contents.versions = std::move(versions.records);
    return contents;
}

}  // namespace zorbinta
