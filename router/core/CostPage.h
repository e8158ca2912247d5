// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cost page (Поиск → Стоимость сайта): what a site costs over one to five
// years, hosting paid for whole minimum periods plus a domain registered once
// and renewed every year, the plans ranked by that total.
//
// Locations. The menu item asks for "itog" (the form with its defaults); the
// form is sent to "itog?z=Z&n=N" with "&s=1" when its box is ticked, and the
// list's page links add "&list=P". Z is the zone's place in the form's list
// (0: "без домена"), never its text: zones such as ".space" would bring a
// command word into the location. None of these holds another command word,
// and none of the other locations holds "itog". A location edited by hand
// never raises an error here: a value that is missing, not a number or out
// of range gives the default (a page, the nearest page).

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/PageTable.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

inline constexpr const char* kCostCommand = "itog";
inline constexpr int kMaxCostYears = 5;

struct CostParams {
    int zone = -1;  // place in costZones(), 1-based; 0 without a domain; -1 the default
    int years = 1;
    bool searchOnly = false;
    long long page = 1;
};

CostParams readCostParams(std::string_view location);

// The form's zones: every distinct Zone of the domain offers, in the order of
// their first appearance.
std::vector<std::string> costZones(const Catalogue& catalogue);

struct CostRow {
    int plan = 0;
    double months = 0;
    double hosting = 0;
    double domain = 0;
    double total = 0;
    int offer = 0;  // the domain row chosen; 0 without a domain
};

struct CostList {
    std::vector<CostRow> rows;  // ascending by total, ties by plan row
    int leftOut = 0;            // plans with no offer for the zone
    int years = 1;
};

// zone: nullptr without a domain. searchOnly keeps the plans of the current
// search, when there is one.
CostList computeCosts(const Catalogue& catalogue, const SearchState& search,
                      const std::string* zone, int years, bool searchOnly);

// whole, when given, receives the whole list of the page, every page of it.
std::string BuildCostPage(const Catalogue& catalogue, const SearchState& search,
                          const CostParams& params, CostList* whole = nullptr);

// Экспорт таблицы: the list's columns as the page writes them, one line per
// row of the whole list; money a plain number, no registrar without a domain.
PageTable costTable(const Catalogue& catalogue, const CostList& list);

}  // namespace zorbinta
