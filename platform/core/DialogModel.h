// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A modal dialog's model as its window and zorbinta-headless drive it: the
// texts it shows and what a user can do to it. Controls are numbered from 1
// as they are named (Button1, CheckBox2, Edit3, Label4); a dialog has those
// that its controls() count and no others.

#include <string>
#include <vector>

namespace zorbinta {

enum class KeyOutcome { Accepted, Replaced, Refused };

struct KeyResult {
    KeyOutcome outcome = KeyOutcome::Refused;
    char32_t character = 0;  // what goes into the field when not refused
};

struct DialogControls {
    int buttons = 0;
    int checkBoxes = 0;
    int fields = 0;          // edit fields
    int labels = 0;          // labels that answer a click
    bool formClick = false;  // whether its background answers a click
};

class DialogModel {
public:
    virtual ~DialogModel() = default;

    // Labels, check-box captions and button captions, one a line.
    virtual std::vector<std::string> texts() const = 0;
    virtual DialogControls controls() const = 0;

    // The handlers raise the errors the user is shown; a control the dialog
    // does not have does nothing.
    virtual void press(int button) = 0;
    virtual void closeBox() = 0;
    virtual void clickLabel(int /*label*/) {}
    virtual void clickForm() {}

    virtual void setChecked(int /*box*/, bool /*ticked*/) {}
    // The field's text as if pasted: no key filter.
    virtual void setText(int /*field*/, const std::string& /*text*/) {}
    // One key press in the field through its filter, with the caret at caret
    // (0-based; below 0: the end of the text).
    virtual KeyResult keyPress(int /*field*/, char32_t /*key*/, int /*caret*/ = -1) { return {}; }
};

}  // namespace zorbinta
