// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual-server search dialog (TForm4) without its widgets: field texts,
// check boxes, the stored SearchCriteria, the key filters and the match test.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "platform/core/DialogModel.h"
#include "platform/core/Dialogs.h"
#include "search/core/SearchCriteria.h"

namespace zorbinta {

enum class KeyFilter {
    WholeNumber,  // Edit2KeyPress
    OneDecimal,   // Edit4KeyPress (traffic): comma limit 0
    TwoDecimals,  // Edit3KeyPress (price): comma limit 1
};

inline constexpr char32_t kBackspace = 8;
inline constexpr const char* kUnlimitedCaption = "Неогр.";

// The filter alone: text is the field's text, caret the 0-based selection
// start.
KeyResult filterKey(KeyFilter filter, std::string_view text, int caret, char32_t key);

class SearchDialog final : public SearchState, public DialogModel {
public:
    // CheckBox1..CheckBox4 "Неогр.", then one for each option.
    static constexpr int kCheckBoxCount = 19;

    // The four "Неогр." boxes are captioned from the start.
    explicit SearchDialog(DialogRunner& dialogs);

    static int maxLength(int edit);       // Edit1..Edit8
    static KeyFilter filterOf(int edit);  // Edit1..Edit8

    // OnActivate: refills Edit1/Edit2 from the bounds, sets the captions.
    void active();
    void Button1Click();  // "Найти"
    void Button2Click();  // "Отмена"
    void closeBox() override;

    // One key press in EditN through its filter and MaxLength, editing the
    // text; the outcome says what happened (Refused also when MaxLength
    // stopped it). caret < 0 means the end of the text.
    KeyResult keyPress(int edit, char32_t key, int caret = -1) override;

    // The texts the dialog shows: labels, check-box captions, buttons.
    std::vector<std::string> texts() const override;
    DialogControls controls() const override;
    void press(int button) override;
    void setChecked(int box, bool ticked) override;
    void setText(int edit, const std::string& text) override;

    std::array<bool, kCheckBoxCount + 1> CheckBox{};              // CheckBox[1..19]
    std::array<std::string, kBoundCount + 1> Label;               // Label[1..8]
    std::array<std::string, kCheckBoxCount + 1> CheckBoxCaption;  // [1..19]

private:
    DialogRunner& dialogs_;
};

}  // namespace zorbinta
