// SPDX-License-Identifier: GPL-3.0-or-later
// What the program opens outside its pane: web addresses, and mail addresses
// where it builds them; whatever else a catalogue names is refused.

#include <gtest/gtest.h>

#include "catalogue/core/FileIO.h"
#include "shell/core/CheckedLinks.h"
#include "tests/FakePlatform.h"

namespace zorbinta {
namespace {

using testing::FakePlatform;
using testing::ProgramFolder;

const struct {
    const char* target;
    bool web;   // opened where only web addresses are
    bool mail;  // opened where mail addresses are built too
} kTargets[] = {
    {"http://www.example.ru/new", true, true}, {"https://www.example.ru/new", true, true},
    {"HTTPS://WWW.EXAMPLE.RU/", true, true},   {"mailto:info@example.ru", false, true},
    {"MailTo:info@example.ru", false, true},   {"file:///etc/passwd", false, false},
    {"/usr/bin/xterm", false, false},          {"smb://host/share", false, false},
    {"javascript:alert(1)", false, false},     {"", false, false},
    {" http://www.example.ru/", false, false}, {"http:/www.example.ru/", false, false},
    {"httpx://www.example.ru/", false, false},
};

// The new-version link through "Да", and an address the pane hands out.
TEST(Links, OnlyWebAndBuiltMailAddressesAreOpened) {
    for (const auto& t : kTargets) {
        SCOPED_TRACE(t.target);
        EXPECT_EQ(isOpenableAddress(t.target, MailAddresses::Refused), t.web);
        EXPECT_EQ(isOpenableAddress(t.target, MailAddresses::Allowed), t.mail);

        ProgramFolder folder;
        folder.write("templ/config.txt", "0");
        writeFileBytes(folder.path("base.db"), std::string("update|3.2|") + t.target + "|");
        FakePlatform fake;
        Application app(Platform{fake.pane, fake, fake, fake, fake, fake, fake, fake.http},
                        ProgramFiles(folder.path()), "http://srv");
        fake.reactions[DialogId::Prompt].push_back([&app] { app.prompt.Button1Click(); });
        app.main.start();
        ASSERT_EQ(fake.shown, std::vector<DialogId>{DialogId::Prompt});
        app.pageLinks().open(t.target);

        std::vector<std::string> opened, refused;
        (t.web ? opened : refused).push_back(t.target);
        (t.mail ? opened : refused).push_back(t.target);
        EXPECT_EQ(fake.opened, opened);
        EXPECT_EQ(fake.refusedLinks, refused);
    }
}

}  // namespace
}  // namespace zorbinta
