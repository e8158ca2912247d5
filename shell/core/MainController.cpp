// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/MainController.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Numbers.h"
#include "pages/core/Ordering.h"
#include "pages/core/PageOutput.h"
#include "router/core/ChangesPage.h"
#include "router/core/CostPage.h"
#include "router/core/NearMissPage.h"
#include "router/core/StartPage.h"
#include "router/core/UnbeatenPage.h"
#include "shell/core/HistoryMoves.h"
#include "shell/core/PageFiles.h"

namespace zorbinta {
namespace {

// The save dialog's default extension, added when the name has none.
std::string withDefaultExtension(std::string name) {
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) name += ".htm";
    return name;
}

}  // namespace

void MainController::start() {
    // A first load that fails still leaves the start page, which then says
    // that the catalogue is missing or damaged; its error follows as usual.
    try {
        active();
    } catch (const std::exception& e) {
        try {
            writeStartPage(e.what());
        } catch (...) {
            // The load's error is the one to show.
        }
        throw;
    }
    writeStartPage();
}

void MainController::writeStartPage(const std::string& loadError) {
    // Written, not navigated to: the router does not run and the history
    // stays as the activation left it.
    s_.pane.writeDocumentAt(startPageUrl(files_.programDir()),
                            framedPage(files_.programDir(), startPageBody(loadError)));
    s_.shownList.clear();
}

std::string MainController::startPageBody(const std::string& loadError) const {
    std::error_code ec;
    CatalogueFile file = CatalogueFile::Missing;
    if (std::filesystem::exists(files_.currentFile(kCatalogueFile), ec)) {
        file = loadError.empty() ? CatalogueFile::Present : CatalogueFile::Damaged;
    }
    return BuildStartPage(catalogue_, s_.program.catalogueVersion(), file, loadError);
}

void MainController::refreshChangesItem() {
    std::error_code ec;
    const bool kept = std::filesystem::is_regular_file(files_.userFile(kPreviousCatalogueFile), ec);
    changesEnabled = kept;
    s_.view.setChangesEnabled(kept);
}

void MainController::active() {
    // Before the load, which may fail: the item follows the file regardless.
    refreshChangesItem();
    try {
        loader_.CatalogueLoad();
        lastLoadError_.clear();
    } catch (const std::exception& e) {
        lastLoadError_ = e.what();
        throw;
    }
    OrderByNumber(catalogue_, PlanTable, slot::DiskMb, catalogue_.PlanCount);
    history_.clear();
    setBackEnabled(false);
    setForwardEnabled(false);
    bounds = s_.workArea.workArea();
    s_.view.setBounds(bounds);
    writeStatus();
}

void MainController::writeStatus() {
    statusText[0] = "Хостинг-провайдеров:" + formatInt(catalogue_.ProviderCount);
    statusText[1] = "Тарифных планов:" + formatInt(catalogue_.PlanCount);
    s_.view.setStatusText(0, statusText[0]);
    s_.view.setStatusText(1, statusText[1]);
}

void MainController::N2Click() {
    const std::optional<std::string> name = s_.saveDialog.askFileName();
    if (!name || name->empty()) return;
    const std::string saved =
        SaveHTMLSourceToFile(s_.pane, s_.messages, withDefaultExtension(*name));
    if (!saved.empty()) s_.view.pageSaved(saved);
}

void MainController::N25Click() {
    // Taken now: the file holds the list of the page on show as the dialog opened.
    const std::shared_ptr<const PageTable> table = s_.shownList.table();
    if (table == nullptr) return;
    const std::optional<SaveChoice> choice = s_.saveDialog.askSaveFile(
        {csvFileTypes(), proposedFileName(table->fileWord, catalogue_, "csv")});
    if (!choice || choice->path.empty()) return;
    const std::string path = withExtension(choice->path, "csv");
    writePageFile(path, csvText(*table, csvDialectOf(choice->type)), "Таблица");
    s_.view.pageSaved(path);
}

std::string MainController::proposedPageFileName(const std::string& extension) const {
    const std::shared_ptr<const PageTable> table = s_.shownList.table();
    return proposedFileName(table != nullptr ? table->fileWord : "stranica", catalogue_, extension);
}

Paper MainController::pagePaper() const {
    const std::shared_ptr<const PageTable> table = s_.shownList.table();
    return table != nullptr ? table->paper : Paper::Portrait;
}

void MainController::N4Click() {
    s_.view.closeWindow();
}

void MainController::N6Click() {
    s_.dialogs.runModal(DialogId::Search);
    NavigateToCommand(s_.pane, files_.programDir(), "stoim", Wait::AndFocus);
}

void MainController::ToolButton2Click() {
    s_.dialogs.runModal(DialogId::Search);
    NavigateToCommand(s_.pane, files_.programDir(), "stoim", Wait::No);
}

void MainController::N22Click() {
    NavigateToCommand(s_.pane, files_.programDir(), kCostCommand, Wait::AndFocus);
}

void MainController::N20Click() {
    NavigateToCommand(s_.pane, files_.programDir(), kNearMissCommand, Wait::AndFocus);
}

void MainController::N21Click() {
    NavigateToCommand(s_.pane, files_.programDir(), kUnbeatenCommand, Wait::AndFocus);
}

void MainController::N8Click() {
    panelWidth = panelWidth == kPanelShown ? kPanelHidden : kPanelShown;
    s_.view.setProviderPanelWidth(panelWidth);

    // The list reads the descending order backwards, smallest address first.
    const int n = catalogue_.ProviderCount;
    OrderByText(catalogue_, ProviderTable, slot::WebAddress, n);
    listItems.clear();
    for (int k = n; k >= 1; --k) {
        listItems.push_back(
            catalogue_.text(ProviderTable, slot::WebAddress, catalogue_.OrderIndex[k]));
    }
    selectedItem = -1;
    s_.view.setProviderList(listItems);
}

void MainController::N9Click() {
    NavigateToCommand(s_.pane, files_.programDir(), "free", Wait::AndFocus);
}

void MainController::N13Click() {
    NavigateToCommand(s_.pane, files_.programDir(), "dom", Wait::No);
}

void MainController::N11Click() {
    s_.dialogs.runModal(DialogId::Update);
    // The dialog has closed and the activation has run, the changes item
    // with it; a new catalogue is followed by what it changed, the same
    // catalogue again by a page that says so.
    switch (s_.program.takeDownloadOutcome()) {
        case DownloadOutcome::Replaced:
            NavigateToCommand(s_.pane, files_.programDir(), kChangesCommand, Wait::AndFocus);
            break;
        case DownloadOutcome::Unchanged:
            NavigateToCommand(s_.pane, files_.programDir(), kUnchangedCommand, Wait::AndFocus);
            break;
        case DownloadOutcome::None:
            break;
    }
}

void MainController::N12Click() {
    s_.dialogs.runModal(DialogId::About);
}

void MainController::N16Click() {
    if (!changesEnabled) return;
    NavigateToCommand(s_.pane, files_.programDir(), kChangesCommand, Wait::AndFocus);
}

void MainController::N23Click() {
    NavigateToCommand(s_.pane, files_.programDir(), kStartCommand, Wait::AndFocus);
}

void MainController::ToolButton5Click() {
    if (!backEnabled || !history_.canGoBack()) return;
    const std::string target = historyBack(history_);
    s_.pane.navigateInHistory(target, HistoryStep::Back);
    setForwardEnabled(true);
    if (history_.BackCount == 1) setBackEnabled(false);
}

void MainController::ToolButton6Click() {
    if (!forwardEnabled || !history_.canGoForward()) return;
    const std::string target = historyForward(history_);
    s_.pane.navigateInHistory(target, HistoryStep::Forward);
    if (history_.ForwardCount == 0) setForwardEnabled(false);
}

void MainController::N17Click() {
    zoomTo(steppedZoom(zoomPercent, ZoomStep::In));
}

void MainController::N18Click() {
    zoomTo(steppedZoom(zoomPercent, ZoomStep::Out));
}

void MainController::N19Click() {
    zoomTo(kNormalZoom);
}

void MainController::zoomTo(int percent) {
    zoomPercent = percent;
    s_.pane.setZoomPercent(percent);
}

void MainController::click() {
    if (selectedItem < 0 || selectedItem >= static_cast<int>(listItems.size())) return;
    const std::string& address = listItems[static_cast<size_t>(selectedItem)];
    long long number = 0;
    for (int row = 1; row <= catalogue_.ProviderCount; ++row) {
        if (catalogue_.text(ProviderTable, slot::WebAddress, row) == address) {
            number = roundToInt(catalogue_.number(ProviderTable, slot::ProviderId, row));
        }
    }
    NavigateToCommand(s_.pane, files_.programDir(), "provid=" + formatInt(number), Wait::AndFocus);
}

void MainController::setBackEnabled(bool enabled) {
    backEnabled = enabled;
    s_.view.setBackEnabled(enabled);
}

void MainController::setForwardEnabled(bool enabled) {
    forwardEnabled = enabled;
    s_.view.setForwardEnabled(enabled);
}

}  // namespace zorbinta
