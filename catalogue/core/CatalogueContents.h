// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A catalogue file's whole contents, read apart from the program's own
// tables: the page of changes reads the catalogue a download replaced, and
// the catalogue tool every file it works on.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/NewVersionOffer.h"

namespace zorbinta {

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

}  // namespace zorbinta
