// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The navigation router: on every completed navigation it reads the
// location, records it in the history, and builds and shows every page whose
// command word the location carries.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/History.h"
#include "catalogue/core/ProgramFiles.h"
#include "pages/core/BrowserPane.h"
#include "pages/core/PageTable.h"
#include "platform/core/HistoryButtons.h"
#include "router/core/CataloguePages.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

// The recording of a completed navigation: a pending Back or Forward
// consumes it, both flags cleared; otherwise the location becomes the newest
// entry and the forward list is dropped. True when it recorded.
bool recordNavigation(History& history, const std::string& location);

// Parameter readers over the location text (Windows-1251 bytes).
int readPageNumber(std::string_view location);
DomainParams readDomainParams(std::string_view location);
std::vector<int> readCompareSelection(std::string& location);  // cuts location
int readProviderNumber(std::string& location);                 // cuts location

class Router {
public:
    Router(Catalogue& catalogue, History& history, SearchState& search, BrowserPane& pane,
           HistoryButtons& buttons, ProgramFiles files, std::string serverUrl, ShownList& shownList)
        : catalogue_(catalogue),
          history_(history),
          search_(search),
          pane_(pane),
          buttons_(buttons),
          files_(std::move(files)),
          serverUrl_(std::move(serverUrl)),
          shownList_(shownList) {}

    // TForm1.nav: the pane's navigate-complete event.
    void nav();
    // The same for a given location (UTF-8).
    void handle(const std::string& location);

    // Builds the start page's body for the command "glavn"; without one the
    // command shows nothing.
    void setStartPageBuilder(std::function<std::string()> build) { startPage_ = std::move(build); }

    // The part of a location in which command words are looked for: the
    // location without the program's own directory in front.
    std::string commandText(const std::string& location) const;

private:
    // How to make the page's table; only the one of the page left on show
    // goes to the shown list.
    using ListMaker = ShownList::Maker;

    // A page without a list, or one with the list that maker makes.
    void show(const std::string& body, ListMaker maker = {});
    void handlePages(std::string text);

    Catalogue& catalogue_;
    History& history_;
    SearchState& search_;
    BrowserPane& pane_;
    HistoryButtons& buttons_;
    ProgramFiles files_;
    std::string serverUrl_;
    std::function<std::string()> startPage_;
    ShownList& shownList_;
    ListMaker shownMaker_;
};

}  // namespace zorbinta
