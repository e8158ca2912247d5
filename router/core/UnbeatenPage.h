// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Лучшие тарифы: among the plans of the current search (all plans before the
// first "Найти"), those that no other of them beats, in a table and on a
// chart of every plan of the search.
//
// Plan q beats plan p when q is at least as good on every count and better
// on at least one: MonthlyCost and MinPaymentPeriod not higher; DiskMb,
// Traffic, Mailboxes, SubDomains, MySqlDatabases and TrialDays not lower,
// each compared as stored; every option p has, q has too. Two identical
// plans do not beat each other.

#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

// The page's location word: it holds none of the other command words, and
// none of them, nor any location the program makes, holds it.
inline constexpr const char* kUnbeatenCommand = "luchsh";

bool planBeats(const Catalogue& catalogue, int q, int p);

// The rows of plans that no other of the given rows beats, in ascending row
// order.
std::vector<int> unbeatenAmong(const Catalogue& catalogue, const std::vector<int>& rows);

// The body. Reads search.criteria only once search.searched says that a
// "Найти" has set them; never the dialog's fields. shown, when given,
// receives the table's rows in its order (none when the page is a message).
std::string BuildUnbeatenPage(const Catalogue& catalogue, const SearchState& search,
                              std::vector<int>* shown = nullptr);

// Экспорт таблицы: the table of the unbeaten plans (the chart is no list).
PageTable unbeatenTable(const Catalogue& catalogue, const std::vector<int>& rows);

}  // namespace zorbinta
