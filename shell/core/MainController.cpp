#include "shell/core/MainController.h"

#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Numbers.h"
#include "pages/core/Ordering.h"
#include "pages/core/PageOutput.h"

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

void MainController::start() { active(); }

void MainController::active() {
    loader_.CatalogueLoad();
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
    const std::string saved = SaveHTMLSourceToFile(s_.pane, s_.messages, withDefaultExtension(*name));
    if (!saved.empty()) s_.view.pageSaved(saved);
}

void MainController::N4Click() { s_.view.closeWindow(); }

void MainController::N6Click() {
    s_.dialogs.runModal(DialogId::Search);
    NavigateToCommand(s_.pane, programDir_, "stoim", Wait::AndFocus);
}

void MainController::ToolButton2Click() {
    s_.dialogs.runModal(DialogId::Search);
    NavigateToCommand(s_.pane, programDir_, "stoim", Wait::No);
}

void MainController::N8Click() {
    panelWidth = panelWidth == kPanelShown ? kPanelHidden : kPanelShown;
    s_.view.setProviderPanelWidth(panelWidth);

    // The list reads the descending order backwards, smallest address first.
    const int n = catalogue_.ProviderCount;
    OrderByText(catalogue_, ProviderTable, slot::WebAddress, n);
    listItems.clear();
    for (int k = n; k >= 1; --k) {
        listItems.push_back(catalogue_.text(ProviderTable, slot::WebAddress, catalogue_.OrderIndex[k]));
    }
    selectedItem = -1;
    s_.view.setProviderList(listItems);
}

void MainController::N9Click() { NavigateToCommand(s_.pane, programDir_, "free", Wait::AndFocus); }

void MainController::N13Click() { NavigateToCommand(s_.pane, programDir_, "dom", Wait::No); }

void MainController::N11Click() { s_.dialogs.runModal(DialogId::Update); }

void MainController::N12Click() { s_.dialogs.runModal(DialogId::About); }

void MainController::ToolButton5Click() {
    if (!backEnabled || !history_.canGoBack()) return;
    const std::string target = history_.back();
    s_.pane.navigate(target);
    setForwardEnabled(true);
    if (history_.BackCount == 1) setBackEnabled(false);
}

void MainController::ToolButton6Click() {
    if (!forwardEnabled || !history_.canGoForward()) return;
    const std::string target = history_.forward();
    s_.pane.navigate(target);
    if (history_.ForwardCount == 0) setForwardEnabled(false);
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
    NavigateToCommand(s_.pane, programDir_, "provid=" + formatInt(number), Wait::AndFocus);
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
