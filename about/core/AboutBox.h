#pragma once
// The About box (TForm2): fixed labels and two links.

#include <string>
#include <vector>

#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"

namespace zorbinta {

inline constexpr const char* kMakerSite = "http://www.zorbinta.ru";
inline constexpr const char* kMakerMail = "info@zorbinta.ru";

class AboutBox {
public:
    AboutBox(DialogRunner& dialogs, LinkOpener& links) : dialogs_(dialogs), links_(links) {}

    // Label texts by label number (1..9).
    static std::string labelText(int label);
    void Label3Click();  // the site
    void Label4Click();  // the mail address
    // A click on a label by number: only 3 and 4 do anything.
    void clickLabel(int label);
    void formclick();
    void closeBox();
    std::vector<std::string> texts() const;

private:
    DialogRunner& dialogs_;
    LinkOpener& links_;
};

}  // namespace zorbinta
