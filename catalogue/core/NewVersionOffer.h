// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the loader does with a catalogue's version record: it offers the
// version and its link to whoever the program gives it (the new-version
// prompt; a load outside the program only keeps them).

#include <string>

namespace zorbinta {

// Called by the loader for every update record.
class NewVersionOffer {
public:
    virtual ~NewVersionOffer() = default;
    virtual void OfferNewVersion(const std::string& catalogueVersion,
                                 const std::string& newVersionLink) = 0;
};

}  // namespace zorbinta
