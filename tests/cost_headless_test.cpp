// SPDX-License-Identifier: GPL-3.0-or-later
// The cost page through zorbinta-headless: the menu item and the form.

#include <gtest/gtest.h>

#include <string>

#include "tests/HeadlessRun.h"

namespace zorbinta {
namespace {

// The zone by its place in the list; the box stays clear until a "Найти".
TEST_F(Installed, CostFormIsSubmittedByZonePlace) {
    const Outcome run = runHeadless(folder.dir,
                                    "start\nmenu N22\nsubmit cost .spb.ru 3 search\nmenu N6\n"
                                    "press Button1\nsubmit cost - 5 search\nsubmit cost .ru 6\n");
    EXPECT_EQ(run.status, 2) << run.out;  // six years: a line it cannot understand
    const auto pages = pagesOf(run.out);
    ASSERT_EQ(pages.size(), 5u) << run.out;
    const std::string templ = "file://" + folder.path() + "templ/";
    EXPECT_EQ(pages[1].first + " " + pages[2].first + " " + pages[4].first,
              templ + "main.htm?itog " + templ + "itog?z=11&n=3 " + templ + "itog?z=0&n=5&s=1");
    EXPECT_NE(pages[2].second.find("за 3 года в зоне .spb.ru</h4>"), std::string::npos);
    EXPECT_NE(pages[2].second.find("name=\"s\" value=\"1\" disabled>"), std::string::npos);
}

}  // namespace
}  // namespace zorbinta
