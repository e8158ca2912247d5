// SPDX-License-Identifier: GPL-3.0-or-later
// The lines that print what the user sees: "show ...".

#include "catalogue/core/Numbers.h"
#include "shell/core/MainCommands.h"
#include "shell/headless/Driver.h"
#include "shell/headless/ScriptWords.h"

namespace zorbinta::headless {

bool Driver::runQuery(const std::string& line) {
    std::string_view rest(line);
    if (takeWord(rest) != "show") return false;
    const std::string_view what = rest;
    MainController& main = app_->main;
    const Catalogue& cat = app_->catalogue;
    if (what == "status") {
        out_ << "=== status " << main.statusText[0] << " | " << main.statusText[1] << '\n';
    } else if (what == "counts") {
        out_ << "=== counts providers=" << cat.ProviderCount << " plans=" << cat.PlanCount
             << " free=" << cat.FreeHostCount << " domainend=" << cat.DomainEnd << '\n';
    } else if (what == "history") {
        out_ << "=== history back=" << app_->history.BackCount
             << " forward=" << app_->history.ForwardCount
             << " backbutton=" << onOff(main.backEnabled)
             << " forwardbutton=" << onOff(main.forwardEnabled) << '\n';
    } else if (what == "panel") {
        out_ << "=== panel " << main.panelWidth << '\n';
    } else if (what == "list") {
        out_ << "=== list " << main.listItems.size() << '\n';
        for (const std::string& item : main.listItems) out_ << item << '\n';
    } else if (what == "location") {
        out_ << "=== location " << pane_.locationUrl() << '\n';
    } else if (what == "window") {
        out_ << "=== window " << main.bounds.x << ' ' << main.bounds.y << ' ' << main.bounds.width
             << ' ' << main.bounds.height << '\n';
    } else if (what == "fields") {
        out_ << "=== fields\n";
        for (int k = 1; k <= kBoundCount; ++k)
            out_ << "Edit" << k << '=' << app_->search.Edit[k] << '\n';
        for (int k = 1; k <= SearchDialog::kCheckBoxCount; ++k) {
            out_ << "CheckBox" << k << '=' << (app_->search.CheckBox[k] ? 1 : 0) << '\n';
        }
    } else if (what == "criteria") {
        out_ << "=== criteria\n";
        const SearchCriteria& c = app_->search.criteria;
        for (int k = 1; k <= kBoundCount; ++k)
            out_ << "Bounds[" << k << "]=" << formatGeneral(c.Bounds[k]) << '\n';
        for (int j = 1; j <= kOptionCount; ++j)
            out_ << "Options[" << j << "]=" << (c.Options[j] ? 1 : 0) << '\n';
    } else if (what == "progress") {
        out_ << "=== progress " << app_->update.progressMin << ' ' << app_->update.progressMax
             << ' ' << app_->update.progressPosition << '\n';
    } else if (what == "prompt") {
        out_ << "=== prompt CheckBox1=" << (app_->prompt.CheckBox1 ? 1 : 0) << '\n';
    } else if (what.substr(0, 5) == "menu ") {
        const std::string_view name = what.substr(5);
        const MainCommand* item = findMainCommand(CommandKind::Menu, name);
        if (item == nullptr) return false;
        out_ << "=== menu " << name << ' ' << onOff(isEnabled(*item, main)) << '\n';
    } else {
        return false;
    }
    return true;
}

}  // namespace zorbinta::headless
