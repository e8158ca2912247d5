// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Addresses the program opens outside its pane come from the catalogue: the
// new-version link, the provider's e-mail, links a page may hold. Only web
// addresses, and mail addresses where the program builds one, reach the
// user's default programs; a catalogue must not have the desktop open a
// file, a program, a network share or a script.

#include <string>
#include <string_view>

#include "platform/core/Services.h"

namespace zorbinta {

enum class MailAddresses { Refused, Allowed };

// "http://" and "https://" addresses (the scheme in any case), and
// "mailto:" ones where mail is Allowed.
bool isOpenableAddress(std::string_view target, MailAddresses mail);

// Opens through links what isOpenableAddress lets through; anything else is
// refused, silently, as a link that cannot be opened is.
class CheckedLinkOpener final : public LinkOpener {
public:
    CheckedLinkOpener(LinkOpener& links, MailAddresses mail) : links_(links), mail_(mail) {}
    void open(const std::string& target) override;
    void refused(const std::string& target) override { links_.refused(target); }

private:
    LinkOpener& links_;
    MailAddresses mail_;
};

}  // namespace zorbinta
