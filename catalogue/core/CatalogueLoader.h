#pragma once
// Reads base.db into the catalogue. A load takes the whole file or changes
// nothing: records are parsed into a staging area and committed at the end.

#include <string>
#include <string_view>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

class NewVersionOffer;

class CatalogueLoader {
public:
    CatalogueLoader(Catalogue& catalogue, std::string programDir, NewVersionOffer& offer)
        : catalogue_(catalogue), programDir_(std::move(programDir)), offer_(offer) {}

    // Loads programDir + "base.db". While another load is paused in the
    // new-version prompt this does nothing: the outer load finishes.
    void CatalogueLoad();
    // The same on bytes already read (Windows-1251 file contents).
    void loadBytes(std::string_view fileBytes);

    bool busy() const { return busy_; }

private:
    // loadBytes; owned, when given, holds fileBytes and is emptied once the
    // text is decoded, so that the file and the tables are not all in memory at once.
    void load(std::string_view fileBytes, std::string* owned);

    Catalogue& catalogue_;
    std::string programDir_;
    NewVersionOffer& offer_;
    bool busy_ = false;
};

}  // namespace zorbinta
