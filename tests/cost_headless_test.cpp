// SPDX-License-Identifier: GPL-3.0-or-later
// The cost page through zorbinta-headless: the menu item and the form.

#include <gtest/gtest.h>

#include <string>

#include "tests/HeadlessRun.h"

namespace zorbinta {
namespace {

TEST_F(Installed, CostFormIsSubmittedByZonePlace) {
    // The box stays clear until a "Найти" has made a current search.
    const Outcome run = runHeadless(folder.dir,
                                    "start\nmenu N22\nsubmit cost .spb.ru 3 search\nmenu N6\n"
                                    "press Button1\nmenu N22\nsubmit cost - 5 search\n");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto pages = pagesOf(run.out);
    ASSERT_EQ(pages.size(), 6u) << run.out;
    const std::string templ = "file://" + folder.path() + "templ/";
    const struct {
        size_t page;
        std::string location, heading, box;
    } cases[] = {
        {1, templ + "main.htm?itog", "за 1 год в зоне .ru", "value=\"1\" disabled>"},
        {2, templ + "itog?z=11&n=3", "за 3 года в зоне .spb.ru", "value=\"1\" disabled>"},
        {4, templ + "main.htm?itog", "за 1 год в зоне .ru", "value=\"1\">"},
        {5, templ + "itog?z=0&n=5&s=1", "за 5 лет без домена", "value=\"1\" checked>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pages[c.page].first, c.location);
        EXPECT_NE(pages[c.page].second.find("<h4>Стоимость сайта " + c.heading + "</h4>"),
                  std::string::npos)
            << c.location;
        EXPECT_NE(pages[c.page].second.find("name=\"s\" " + c.box), std::string::npos)
            << c.location;
    }
    for (const char* bad : {"submit cost .nowhere 1", "submit cost .ru 6", "submit cost .ru 1 x"}) {
        EXPECT_EQ(runHeadless(folder.dir, std::string("start\nmenu N22\n") + bad + "\n").status, 2)
            << bad;
    }
}

}  // namespace
}  // namespace zorbinta
