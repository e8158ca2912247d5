// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The changes page: what the catalogue on show brought against the one the
// last download replaced (base.db.prev), from the core's comparison.
//
// Paging. The page holds up to six lists, each paged by 15 rows on its own:
// providers added, providers removed, plans added, plans removed, plans with
// a new price, domain offers with a new price. The location carries the page
// of every list, so that turning one list's page keeps the others where they
// are and Back returns to exactly what was on show: "izmen" alone shows the
// first page of each; "izmen=1-3-1-1-2-1" shows page 3 of the removed
// providers and page 2 of the new prices. A page number that is missing, not
// a number or beyond its list shows that list's nearest page; a location
// edited by hand never raises an error here. The word and its parameter hold
// none of the other command words, nor does any of them hold "izmen".

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"

namespace zorbinta {

inline constexpr const char* kChangesCommand = "izmen";
// The page after a download that brought the catalogue already in use. The
// word holds none of the other command words, and none of them holds it.
inline constexpr const char* kUnchangedCommand = "nochange";
inline constexpr int kChangeLists = 6;

struct ChangesPaging {
    std::array<int, kChangeLists> page{1, 1, 1, 1, 1, 1};
};

ChangesPaging readChangesPaging(std::string_view location);

// The body for the catalogue on show: previousFile (the user's base.db.prev) is read into a
// catalogue of its own (the program's tables, its ordering and the new-version prompt stay
// untouched); a file that is missing, unreadable, too large or not a catalogue gives a body that
// says no comparison is possible.
// table, when given, receives every row of all six lists (none when no
// comparison is possible or nothing changed).
std::string BuildChangesPage(const Catalogue& current, const std::string& previousFile,
                             const ChangesPaging& paging,
                             std::optional<PageTable>* table = nullptr);

// The body of the page after a download of the catalogue already in use: it
// says so, and while previousFile (the user's base.db.prev) is there it leads
// to the last real change.
std::string BuildUnchangedPage(const std::string& previousFile);

// The body comparing two catalogues: exactly "Каталог не изменился" when
// nothing differs.
std::string BuildChangesBody(const Catalogue& before, const Catalogue& after,
                             const ChangesPaging& paging,
                             std::optional<PageTable>* table = nullptr);

}  // namespace zorbinta
