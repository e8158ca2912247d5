// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/CheckedLinks.h"

#include "catalogue/core/Numbers.h"

namespace zorbinta {
namespace {

bool hasScheme(std::string_view target, std::string_view scheme) {
    return target.size() >= scheme.size() &&
           equalsIgnoringCase(target.substr(0, scheme.size()), scheme);
}

}  // namespace

bool isOpenableAddress(std::string_view target, MailAddresses mail) {
    return hasScheme(target, "http://") || hasScheme(target, "https://") ||
           (mail == MailAddresses::Allowed && hasScheme(target, "mailto:"));
}

void CheckedLinkOpener::open(const std::string& target) {
    if (isOpenableAddress(target, mail_)) {
        links_.open(target);
    } else {
        links_.refused(target);
    }
}

}  // namespace zorbinta
