// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/Router.h"

#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "pages/core/PageOutput.h"
#include "pages/core/SearchResults.h"
#include "router/core/ChangesPage.h"
#include "router/core/CostPage.h"
#include "router/core/NearMissPage.h"
#include "router/core/PageTables.h"
#include "router/core/StartPage.h"
#include "router/core/UnbeatenPage.h"

namespace zorbinta {
namespace {

inline constexpr const char* kNothingChosen = "Выберите хотя бы один тарифный план";

bool has(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

// Up to count characters from pos, empty when pos lies beyond the text.
std::string_view substrAt(std::string_view text, size_t pos, size_t count) {
    if (pos >= text.size()) return {};
    return text.substr(pos, count);
}

std::string percentEncodedPath(std::string_view path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '.' || c == '_' ||
                           c == '~';
        if (plain) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

}  // namespace

int readPageNumber(std::string_view location) {
    const size_t pos = location.find("page");
    return parseInt(substrAt(location, pos + 4, 2));
}

DomainParams readDomainParams(std::string_view location) {
    DomainParams params;
    if (has(location, "reg")) {
        params.order = DomainOrder::Registration;
    } else if (has(location, "prod")) {
        params.order = DomainOrder::Renewal;
    }
    const bool hasZone = has(location, "zona");
    const bool hasKind = has(location, "norh");
    if (hasZone) {
        const size_t start = location.find("zona=");
        const size_t bar = location.find("%7C");
        // The zone runs from after "zona=" up to the escaped bar.
        if (start != std::string_view::npos && bar != std::string_view::npos) {
            const long long length =
                static_cast<long long>(bar) - static_cast<long long>(location.find("zona")) - 5;
            if (length >= 1) {
                params.zone =
                    fromCp1251(substrAt(location, start + 5, static_cast<size_t>(length)));
            }
        }
    }
    if (hasKind) {
        const size_t pos = location.find("norh=");
        params.clientKind = parseInt(
            pos == std::string_view::npos ? std::string_view{} : substrAt(location, pos + 5, 1));
    }
    if (hasZone) params.query += "zona=" + params.zone + "%7C";
    if (hasKind) params.query += "norh=" + formatInt(params.clientKind);
    if (has(location, "reg")) params.linkPrefix = "reg";
    if (has(location, "prod")) params.linkPrefix = "prod";
    params.linkPrefix += params.query;
    params.page = has(location, "page") ? readPageNumber(location) : 1;
    return params;
}

std::vector<int> readCompareSelection(std::string& location) {
    std::vector<int> rows;
    auto cutAfterNom = [&location] {
        const size_t pos = location.find("nom=");
        location = std::string(substrAt(location, pos + 4, 255));
    };
    cutAfterNom();
    while (has(location, "nom=")) {
        const size_t amp = location.find("&nom=");
        rows.push_back(parseInt(amp == std::string::npos
                                    ? std::string_view(location)
                                    : std::string_view(location).substr(0, amp)));
        cutAfterNom();
    }
    rows.push_back(parseInt(std::string_view(location).substr(0, 4)));
    return rows;
}

int readProviderNumber(std::string& location) {
    const size_t pos = location.find("id=");
    location =
        pos == std::string::npos ? std::string() : std::string(substrAt(location, pos + 3, 255));
    return parseInt(location);
}

bool recordNavigation(History& history, const std::string& location) {
    if (history.BackPending || history.ForwardPending) {
        history.BackPending = false;
        history.ForwardPending = false;
        return false;
    }
    pushHistoryEntry(history.BackList, history.BackCount, location);
    history.ForwardCount = 0;
    return true;
}

std::string Router::commandText(const std::string& location) const {
    // Command words are looked for after the program's own folder, so that a
    // folder named "free" or "prov" does not add pages of its own.
    for (const std::string& prefix :
         {"file://" + files_.programDir(), "file://" + percentEncodedPath(files_.programDir())}) {
        if (location.compare(0, prefix.size(), prefix) == 0) return location.substr(prefix.size());
    }
    return location;
}

void Router::nav() {
    handle(pane_.locationUrl());
}

void Router::show(const std::string& body, ListMaker maker) {
    ShowPage(pane_, framedPage(files_.programDir(), body));
    shownMaker_ = std::move(maker);
}

void Router::handle(const std::string& location) {
    if (recordNavigation(history_, location)) buttons_.setForwardEnabled(false);
    if (history_.BackCount == 2) buttons_.setBackEnabled(true);

    // The navigation replaced the document: until a page is shown, there is
    // no list. An error in a later step leaves the page shown before it.
    shownMaker_ = {};
    auto settle = [this] {
        ListMaker maker = std::move(shownMaker_);
        shownMaker_ = {};
        shownList_.set(std::move(maker));
    };
    try {
        handlePages(toCp1251(commandText(location)));
    } catch (...) {
        settle();
        throw;
    }
    settle();
}

void Router::handlePages(std::string text) {
    RowColour colour;
    std::string body;
    // Read before the steps below cut the text.
    const bool changes = has(text, kChangesCommand);
    const ChangesPaging changesPaging = changes ? readChangesPaging(text) : ChangesPaging{};
    const bool cost = has(text, kCostCommand);
    const CostParams costParams = cost ? readCostParams(text) : CostParams{};
    const bool nearMisses = has(text, kNearMissCommand);
    const bool unbeaten = has(text, kUnbeatenCommand);

    // The search results' order depends on what the build consumes (a one-shot
    // disk or traffic order), so the table takes the rows the build put out.
    std::vector<int> rows;
    auto listOf = [this](std::vector<int> shown,
                         PageTable (*table)(const Catalogue&, const std::vector<int>&)) {
        return [this, shown = std::move(shown), table] { return table(catalogue_, shown); };
    };
    auto results = [&](int sortSlot, int page) {
        body = BuildSearchResults(catalogue_, search_, serverUrl_, sortSlot, page, &rows);
        return listOf(std::move(rows), &searchResultsTable);
    };

    if (has(text, "space")) show(body, results(slot::DiskMb, 1));
    if (has(text, "stoim")) show(body, results(slot::MonthlyCost, 1));
    if (has(text, "dom")) {
        body = BuildDomainPage(catalogue_, readDomainParams(text), colour, serverUrl_, &rows);
        show(body, listOf(std::move(rows), &domainTable));
    }
    if (has(text, "traf")) show(body, results(slot::Traffic, 1));
    if (has(text, "page")) {
        const int page = readPageNumber(text);
        // The page shown is the last one built, or the one before when none is.
        ListMaker list = shownMaker_;
        if (has(text, "stoim")) list = results(slot::MonthlyCost, page);
        if (has(text, "traf")) list = results(slot::Traffic, page);
        if (has(text, "space")) list = results(slot::DiskMb, page);
        show(body, list);
    }
    if (has(text, "free")) {
        body = BuildFreeHostPage(catalogue_, serverUrl_, &rows);
        show(body, listOf(std::move(rows), &freeHostTable));
    }
    if (has(text, "http://srav")) {
        if (!has(text, "nom=")) {
            show(kNothingChosen);
        } else {
            const std::vector<int> chosen = readCompareSelection(text);
            body = BuildComparePage(catalogue_, chosen, colour, serverUrl_);
            show(body, listOf(chosen, &compareTable));
        }
    }
    if (has(text, "prov")) {
        const int provider = readProviderNumber(text);
        body = BuildProviderPage(catalogue_, provider, colour, serverUrl_);
        show(body, [this, provider] { return providerTable(catalogue_, provider); });
    }
    if (changes) {
        std::optional<PageTable> table;
        body = BuildChangesPage(catalogue_, files_.userFile(kPreviousCatalogueFile), changesPaging,
                                &table);
        ListMaker list;
        if (table) {
            list = [shared = std::make_shared<PageTable>(std::move(*table))] { return *shared; };
        }
        show(body, list);
    }
    if (has(text, kUnchangedCommand))
        show(BuildUnchangedPage(files_.userFile(kPreviousCatalogueFile)));
    if (has(text, kStartCommand) && startPage_) show(startPage_());
    if (cost) {
        CostList list;
        body = BuildCostPage(catalogue_, search_, costParams, &list);
        show(body, [this, list = std::move(list)] { return costTable(catalogue_, list); });
    }
    // A message (no search yet, nothing to list) has no list.
    if (nearMisses) {
        NearMissList list;
        body = BuildNearMissPage(catalogue_, search_, &list);
        ListMaker maker;
        if (!list.rows.empty()) {
            maker = [this, list = std::move(list)] { return nearMissTable(catalogue_, list); };
        }
        show(body, std::move(maker));
    }
    if (unbeaten) {
        std::vector<int> listed;
        body = BuildUnbeatenPage(catalogue_, search_, &listed);
        ListMaker maker;
        if (!listed.empty()) maker = listOf(std::move(listed), &unbeatenTable);
        show(body, std::move(maker));
    }
}

}  // namespace zorbinta
