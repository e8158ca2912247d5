// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box (TForm2): fixed labels and two links.

#include <string>
#include <vector>

#include "platform/core/DialogModel.h"
#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"

namespace zorbinta {

inline constexpr const char* kMakerSite = "http://www.zorbinta.ru";
inline constexpr const char* kMakerMail = "info@zorbinta.ru";

class AboutBox final : public DialogModel {
public:
    AboutBox(DialogRunner& dialogs, LinkOpener& links) : dialogs_(dialogs), links_(links) {}

    // Label texts by label number (1..9).
    static std::string labelText(int label);
    void Label3Click();  // the site
    void Label4Click();  // the mail address
    // A click on a label by number: only 3 and 4 do anything.
    void clickLabel(int label) override;
    void formclick();
    void closeBox() override;
    std::vector<std::string> texts() const override;
    DialogControls controls() const override { return {.labels = 9, .formClick = true}; }
    // The box has no buttons.
    void press(int /*button*/) override {}
    void clickForm() override { formclick(); }

private:
    DialogRunner& dialogs_;
    LinkOpener& links_;
};

}  // namespace zorbinta
