// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/core/AboutBox.h"

namespace zorbinta {

std::string AboutBox::labelText(int label) {
    switch (label) {
        case 1:
            return "Зорбинта";
        case 2:
            return "Версия: 3.1";
        case 3:
            return kMakerSite;
        case 4:
            return kMakerMail;
        case 5:
            return "ООО «Зорбинта Софт»";
        case 6:
            return "Сайт:";
        case 7:
            return "E-mail:";
        case 8:
            return "Москва, 2004";
        case 9:
            return "Разработчик:";
        default:
            return {};
    }
}

void AboutBox::Label3Click() {
    links_.open(kMakerSite);
}

void AboutBox::Label4Click() {
    links_.open(std::string("mailto:") + kMakerMail);
}

void AboutBox::clickLabel(int label) {
    if (label == 3) Label3Click();
    if (label == 4) Label4Click();
}

void AboutBox::formclick() {
    dialogs_.close(DialogId::About);
}

void AboutBox::closeBox() {
    dialogs_.close(DialogId::About);
}

std::vector<std::string> AboutBox::texts() const {
    // Top to bottom: name, version, developer, site, mail.
    std::vector<std::string> out;
    for (const int label : {1, 2, 9, 5, 8, 6, 3, 7, 4}) out.push_back(labelText(label));
    return out;
}

}  // namespace zorbinta
