// SPDX-License-Identifier: GPL-3.0-or-later
// The lines that act on the open dialog, through the model every dialog
// offers: its buttons, check boxes, fields, labels and close box.

#include <string>

#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "search/core/SearchDialog.h"
#include "shell/headless/Driver.h"
#include "shell/headless/ScriptWords.h"

namespace zorbinta::headless {

bool Driver::runDialogLine(DialogId id, const std::string& line) {
    std::string_view rest(line);
    const std::string_view verb = takeWord(rest);
    DialogModel& dialog = app_->dialog(id);
    const DialogControls has = dialog.controls();
    auto act = [this](const std::function<void()>& work) { app_->guarded(work); };

    if (verb == "close" && rest.empty()) {
        closeBox(id);
    } else if (verb == "press") {
        const int button = numberAfter(rest, "Button");
        if (button < 1 || button > has.buttons || rest != "Button" + std::to_string(button)) {
            return false;
        }
        act([&dialog, button] { dialog.press(button); });
    } else if (verb == "tick" || verb == "untick") {
        const int box = numberAfter(rest, "CheckBox");
        if (box < 1 || box > has.checkBoxes) return false;
        dialog.setChecked(box, verb == "tick");
    } else if (verb == "set" && has.fields > 0) {
        const int edit = numberAfter(takeWord(rest), "Edit");
        if (edit < 1 || edit > has.fields) return false;
        dialog.setText(edit, std::string(rest));
    } else if (verb == "key" && has.fields > 0) {
        const int edit = numberAfter(takeWord(rest), "Edit");
        if (edit < 1 || edit > has.fields || rest.empty()) return false;
        char32_t key = 0;
        if (rest.substr(0, 9) == "backspace" && (rest.size() == 9 || rest[9] == ' ')) {
            key = kBackspace;
            rest.remove_prefix(9);
        } else if (!takeCodePoint(rest, key)) {
            return false;
        }
        int caret = -1;
        if (!rest.empty()) {
            if (rest[0] != ' ' || !tryParseInt(rest.substr(1), caret) || caret < 0) return false;
        }
        printKey(dialog.keyPress(edit, key, caret));
    } else if (verb == "click" && (has.labels > 0 || has.formClick)) {
        if (rest == "form") {
            if (!has.formClick) return false;
            act([&dialog] { dialog.clickForm(); });
        } else {
            const int label = numberAfter(rest, "Label");
            if (label < 1 || label > has.labels) return false;
            act([&dialog, label] { dialog.clickLabel(label); });
        }
    } else {
        return false;
    }
    return true;
}

void Driver::printKey(const KeyResult& result) {
    switch (result.outcome) {
        case KeyOutcome::Accepted:
            out_ << "=== key accepted\n";
            break;
        case KeyOutcome::Replaced:
            out_ << "=== key replaced " << encodeUtf8(result.character) << '\n';
            break;
        case KeyOutcome::Refused:
            out_ << "=== key refused\n";
            break;
    }
}

}  // namespace zorbinta::headless
