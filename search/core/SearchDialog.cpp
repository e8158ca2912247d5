// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/core/SearchDialog.h"

#include <algorithm>

#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"

namespace zorbinta {
namespace {

constexpr int kFirstOptionBox = 5;  // CheckBox5 is option 1

// Characters, not bytes: the fields hold UTF-8.
int charCount(std::string_view text) {
    int count = 0;
    for (const char c : text) {
        if (!isUtf8Continuation(c)) ++count;
    }
    return count;
}

// Byte offset of the character at 0-based index chars (the end for the count).
size_t byteOffset(std::string_view text, int chars) {
    size_t i = 0;
    while (i < text.size() && chars > 0) {
        ++i;
        while (i < text.size() && isUtf8Continuation(text[i])) ++i;
        --chars;
    }
    return i;
}

// 1-based character position of the first comma, 0 when there is none.
int commaPosition(std::string_view text) {
    const auto at = text.find(',');
    if (at == std::string_view::npos) return 0;
    return charCount(text.substr(0, at)) + 1;
}

constexpr KeyResult refused() {
    return {KeyOutcome::Refused, 0};
}

}  // namespace

KeyResult filterKey(KeyFilter filter, std::string_view text, int caret, char32_t key) {
    if (key == kBackspace) return {KeyOutcome::Accepted, key};
    const int comma = commaPosition(text);
    const bool rightOfComma = comma > 0 && caret >= comma;
    if (key >= U'0' && key <= U'9') {
        if (filter == KeyFilter::WholeNumber) {
            return rightOfComma ? refused() : KeyResult{KeyOutcome::Accepted, key};
        }
        const int limit = filter == KeyFilter::OneDecimal ? 0 : 1;
        const int decimals = comma > 0 ? charCount(text) - comma : 0;
        if (rightOfComma && decimals > limit) return refused();
        return {KeyOutcome::Accepted, key};
    }
    if (key == U',' || key == U'.') {
        if (filter == KeyFilter::WholeNumber || comma > 0 || caret <= 0) return refused();
        return {key == U',' ? KeyOutcome::Accepted : KeyOutcome::Replaced, U','};
    }
    return refused();
}

SearchDialog::SearchDialog(DialogRunner& dialogs) : dialogs_(dialogs) {
    for (int i = 1; i <= 4; ++i) CheckBoxCaption[i] = kUnlimitedCaption;
}

int SearchDialog::maxLength(int edit) {
    switch (edit) {
        case 1:
        case 2:
        case 6:
            return 7;
        case 3:
        case 4:
        case 5:
        case 7:
        case 8:
            return 3;
        default:
            return 0;
    }
}

KeyFilter SearchDialog::filterOf(int edit) {
    switch (edit) {
        case 2:
            return KeyFilter::OneDecimal;
        case 6:
            return KeyFilter::TwoDecimals;
        default:
            return KeyFilter::WholeNumber;
    }
}

void SearchDialog::active() {
    const auto& bounds = criteria.Bounds;
    if (bounds[1] > 0) Edit[1] = formatGeneral(bounds[1]);
    if (bounds[2] > 0 && !CheckBox[1]) Edit[2] = formatGeneral(bounds[2]);
    for (int i = 1; i <= kBoundCount; ++i) Label[i] = PlanCaptions[i + 1];
    for (int j = 1; j <= kOptionCount; ++j) {
        CheckBoxCaption[kFirstOptionBox - 1 + j] = PlanCaptions[9 + j];
    }
}

void SearchDialog::Button1Click() {
    // A text that is not a number stops here: the rows before it keep their
    // new bounds, the rest and the options their old ones, and the dialog
    // stays open.
    for (int k = 1; k <= kBoundCount; ++k) {
        if (Edit[k].empty()) {
            criteria.Bounds[k] = k == kPriceBound ? kUnlimited : 0;
        } else {
            criteria.Bounds[k] = parseFloat(Edit[k]);
        }
    }
    for (int box = 1; box <= 4; ++box) {
        if (CheckBox[box]) criteria.Bounds[box + 1] = kUnlimited;
    }
    for (int j = 1; j <= kOptionCount; ++j) {
        criteria.Options[j] = CheckBox[kFirstOptionBox - 1 + j] ? 1 : 0;
    }
    searched = true;
    dialogs_.close(DialogId::Search);
}

void SearchDialog::Button2Click() {
    dialogs_.close(DialogId::Search);
}

void SearchDialog::closeBox() {
    dialogs_.close(DialogId::Search);
}

DialogControls SearchDialog::controls() const {
    return {.buttons = 2, .checkBoxes = kCheckBoxCount, .fields = kBoundCount};
}

void SearchDialog::press(int button) {
    if (button == 1) Button1Click();
    if (button == 2) Button2Click();
}

void SearchDialog::setChecked(int box, bool ticked) {
    if (box >= 1 && box <= kCheckBoxCount) CheckBox[static_cast<size_t>(box)] = ticked;
}

void SearchDialog::setText(int edit, const std::string& text) {
    if (edit >= 1 && edit <= kBoundCount) Edit[static_cast<size_t>(edit)] = text;
}

KeyResult SearchDialog::keyPress(int edit, char32_t key, int caret) {
    if (edit < 1 || edit > kBoundCount) return refused();
    std::string& text = Edit[edit];
    const int length = charCount(text);
    if (caret < 0 || caret > length) caret = length;
    const KeyResult result = filterKey(filterOf(edit), text, caret, key);
    if (result.outcome == KeyOutcome::Refused) return result;
    if (result.character == kBackspace) {
        if (caret > 0) {
            const size_t from = byteOffset(text, caret - 1);
            text.erase(from, byteOffset(text, caret) - from);
        }
        return result;
    }
    if (length >= maxLength(edit)) return refused();
    text.insert(byteOffset(text, caret), encodeUtf8(result.character));
    return result;
}

std::vector<std::string> SearchDialog::texts() const {
    std::vector<std::string> out;
    out.reserve(kBoundCount + kCheckBoxCount + 2);
    for (int i = 1; i <= kBoundCount; ++i) out.push_back(Label[i]);
    for (int i = 1; i <= kCheckBoxCount; ++i) out.push_back(CheckBoxCaption[i]);
    out.emplace_back("Найти");
    out.emplace_back("Отмена");
    return out;
}

}  // namespace zorbinta
