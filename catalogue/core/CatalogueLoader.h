// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads base.db into the catalogue. A load takes the whole file or changes
// nothing: records are parsed into a staging area and committed at the end.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/ProgramFiles.h"

namespace zorbinta {

class NewVersionOffer;

// One problem of a catalogue file, as a load would report it.
struct CatalogueProblem {
    size_t offset = 0;    // byte offset in the file
    int record = 0;       // the record's number among the records of its tag; 0 outside a record
    std::string tag;      // "update", "prov", "vs", "free", "dom"; empty outside a record
    std::string field;    // the field's name; empty for a problem of the whole record
    std::string message;  // the text a load raises for it
};

struct CatalogueCheck {
    std::vector<CatalogueProblem> problems;  // in file order
    // Records read of each tag.
    int updates = 0;
    int providers = 0;
    int plans = 0;
    int freeOffers = 0;
    int domainOffers = 0;
};

// Reads file bytes as a load does, with the same parser, but touches no
// catalogue and offers no new version, and goes on past a problem where the
// rest of the file can still be read: a bad number or flag, a record out of
// order, more than 1000 records of a tag. Text that is no record, or a
// record cut short by the end of the file, ends the scan. When there are
// problems, a load raises the first one's message.
CatalogueCheck checkCatalogueBytes(std::string_view fileBytes);

class CatalogueLoader {
public:
    CatalogueLoader(Catalogue& catalogue, ProgramFiles files, NewVersionOffer& offer)
        : catalogue_(catalogue), files_(std::move(files)), offer_(offer) {}

    // Loads base.db: the user's when there is one, else the shipped one. While another load is
    // paused in the new-version prompt this does nothing: the outer load finishes.
    void CatalogueLoad();
    // The same on bytes already read (Windows-1251 file contents).
    void loadBytes(std::string_view fileBytes);

    bool busy() const { return busy_; }

    // Runs before a load starts to change the tables, so that what was made
    // from them (the list of the page on show) can be kept as it was.
    void onBeforeLoad(std::function<void()> before) { beforeLoad_ = std::move(before); }

private:
    // loadBytes; owned, when given, holds fileBytes and is emptied once the
    // text is decoded, so that the file and the tables are not all in memory at once.
    void load(std::string_view fileBytes, std::string* owned);

    Catalogue& catalogue_;
    ProgramFiles files_;
    NewVersionOffer& offer_;
    bool busy_ = false;
    std::function<void()> beforeLoad_;
};

}  // namespace zorbinta
