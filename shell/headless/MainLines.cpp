// SPDX-License-Identifier: GPL-3.0-or-later
// The lines that act on the main window: its commands by their names, the
// provider list, navigations and the pages' forms.

#include <optional>

#include "router/core/CostPage.h"
#include "shell/core/MainCommands.h"
#include "shell/headless/Driver.h"
#include "shell/headless/ScriptWords.h"

namespace zorbinta::headless {
namespace {

// The script's word for each kind of command.
std::optional<CommandKind> commandKind(std::string_view verb) {
    if (verb == "menu") return CommandKind::Menu;
    if (verb == "toolbar") return CommandKind::Toolbar;
    if (verb == "button") return CommandKind::Button;
    return std::nullopt;
}

}  // namespace

bool Driver::runCommand(CommandKind kind, std::string_view rest) {
    const MainCommand* command = findMainCommand(kind, takeWord(rest));
    if (command == nullptr || command->run == nullptr) return false;
    if (command->saveName == SaveName::Asked) {
        // The rest of the line is the name confirmed in the save dialog;
        // without one the dialog is cancelled.
        savePath_ = rest.empty() ? std::nullopt : std::optional<std::string>(std::string(rest));
    } else if (!rest.empty()) {
        return false;
    }
    MainController& main = app_->main;
    app_->guarded([&main, command] { (main.*(command->run))(); });
    return true;
}

bool Driver::submitCost(std::string_view rest) {
    // The zone as the form's list offers it, by its place there.
    const std::string_view zone = takeWord(rest);
    int place = -1;
    if (zone == "-") place = 0;
    const std::vector<std::string> zones = costZones(app_->catalogue);
    for (size_t k = 0; k < zones.size() && place < 0; ++k) {
        if (zones[k] == zone) place = static_cast<int>(k) + 1;
    }
    const std::string_view years = takeWord(rest);
    const std::string_view tick = takeWord(rest);
    if (place < 0 || years.size() != 1 || years[0] < '1' || years[0] > '0' + kMaxCostYears ||
        !(tick.empty() || tick == "search") || !rest.empty()) {
        return false;
    }
    std::string query =
        std::string(kCostCommand) + "?z=" + std::to_string(place) + "&n=" + std::string(years);
    // A disabled box stays clear.
    if (tick == "search" && app_->search.searched) query += "&s=1";
    pane_.navigate(resolveUrl(pane_.locationUrl(), query));
    return true;
}

bool Driver::runMainLine(const std::string& line) {
    std::string_view rest(line);
    const std::string_view verb = takeWord(rest);
    MainController& main = app_->main;
    auto act = [this](const std::function<void()>& work) { app_->guarded(work); };

    if (verb == "start" && rest.empty()) {
        act([&main] { main.start(); });
    } else if (verb == "activate" && rest.empty()) {
        act([&main] { main.active(); });
    } else if (const std::optional<CommandKind> kind = commandKind(verb)) {
        return runCommand(*kind, rest);
    } else if (verb == "list") {
        int index = -1;
        if (!rest.empty() || line.size() > 4) {
            for (size_t k = 0; k < main.listItems.size(); ++k) {
                if (main.listItems[k] == rest) {
                    index = static_cast<int>(k);
                    break;
                }
            }
        }
        main.selectItem(index);
        act([&main] { main.click(); });
    } else if (verb == "navigate" && !rest.empty()) {
        const std::string target = resolveUrl(pane_.locationUrl(), std::string(rest));
        if (target.rfind("mailto:", 0) == 0) {
            app_->pageLinks().open(target);  // mail links open outside the pane
        } else {
            pane_.navigate(target);
        }
    } else if (verb == "submit") {
        const std::string_view form = takeWord(rest);
        if (form == "srav") {
            std::string url = "http://srav/?";
            bool first = true;
            while (!rest.empty()) {
                const std::string_view row = takeWord(rest);
                if (row.empty()) continue;
                url += first ? "" : "&";
                url += "nom=" + formEncode(std::string(row));
                first = false;
            }
            pane_.navigate(url);
        } else if (form == "dom" && !rest.empty()) {
            const std::string zone(takeWord(rest));
            std::string url = "http://dom/?zona=" + formEncode(zone + "|");
            if (!rest.empty()) url += "&norh=" + formEncode(std::string(takeWord(rest)));
            if (!rest.empty()) return false;
            pane_.navigate(url);
        } else if (form == "cost") {
            return submitCost(rest);
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace zorbinta::headless
