// SPDX-License-Identifier: GPL-3.0-or-later
// The router on arbitrary location texts against the sample catalogue: every
// handling either shows its pages or stops with an Error; pages are valid
// text and do not depend on the page shown before; the history and its
// buttons stay consistent. Leading "<" and ">" click Back and Forward first.
// A location that begins with "~/" stands for one in the program's own
// folder ("file://" + ProgramDir), so that seeds need not know where the run
// puts the folder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/core/Error.h"
#include "fuzz/FuzzSupport.h"
#include "shell/core/Application.h"
#include "tests/FakePlatform.h"

namespace {

using namespace zorbinta;
using fuzz::check;

struct Program {
    Program()
        : app(Platform{pane, fake, fake, fake, fake, fake, fake, fake.http},
              ProgramFiles(fuzz::sampleProgram().programDir()), "http://fuzz.example") {
        app.main.start();
        check(app.catalogue.PlanCount > 0, "the sample catalogue did not load");
        // An empty search form: every plan matches.
        app.search.criteria.Bounds[6] = kUnlimited;
    }
    fuzz::CheckingPane pane;
    testing::FakePlatform fake;
    Application app;
};

// Back or Forward as the toolbar does it; the buttons stay enabled exactly
// while there is somewhere to go.
void clickHistory(Program& program, bool back) {
    MainController& main = program.app.main;
    const History& history = program.app.history;
    const bool enabled = back ? main.backEnabled : main.forwardEnabled;
    const std::string target = enabled ? (back ? history.BackList[history.BackCount - 1]
                                               : history.ForwardList[history.ForwardCount])
                                       : program.pane.location;
    back ? main.ToolButton5Click() : main.ToolButton6Click();
    check(program.pane.location == target, "Back or Forward went to the wrong place");
    check(!history.BackPending && !history.ForwardPending, "a pending flag was not consumed");
    check(history.BackCount >= 0 && history.BackCount <= kHistorySize, "BackCount out of range");
    check(history.ForwardCount >= 0 && history.ForwardCount <= kHistorySize,
          "ForwardCount out of range");
    check(main.backEnabled == (history.BackCount >= 2), "Back enabled wrongly");
    check(main.forwardEnabled == (history.ForwardCount >= 1), "Forward enabled wrongly");
}

// The pages (and error) that one handling of location shows, after the
// given page was shown.
std::vector<std::string> handle(Program& program, const std::string& before,
                                const std::string& location, size_t size) {
    program.app.router.handle(before);
    // The search form's three fields that steer the results order, filled or
    // not as the input's length says, so that every override is met.
    SearchDialog& search = program.app.search;
    search.Edit[1] = size % 2 == 0 ? "" : "10";
    search.Edit[2] = size % 3 == 0 ? "" : "1000";
    search.Edit[6] = size % 5 == 0 ? "50" : "";
    program.pane.shown.clear();
    try {
        program.app.router.handle(location);
    } catch (const Error& e) {
        // The conversion errors of bad numbers; the program shows them.
        program.pane.shown.push_back(std::string("error: ") + e.what());
    }
    return program.pane.shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Program* program = new Program();  // lives for the whole run
    std::string location(reinterpret_cast<const char*>(data), size);
    // Leading "<" and ">" are clicks on Back and Forward.
    size_t clicks = 0;
    while (clicks < location.size() && (location[clicks] == '<' || location[clicks] == '>')) {
        clickHistory(*program, location[clicks] == '<');
        ++clicks;
    }
    location.erase(0, clicks);
    if (location.starts_with("~/"))
        location = "file://" + program->app.programDir() + location.substr(2);

    // Each location is handled twice, after pages that leave the shared
    // ordering and row colours in different states: what it shows must not
    // depend on what was shown before.
    const std::string dir = "file://" + program->app.programDir() + "templ/";
    const std::vector<std::string> first = handle(*program, dir + "main.htm?free", location, size);
    const std::vector<std::string> again = handle(*program, dir + "domprod", location, size);
    check(first == again, "a page depends on the page shown before it");
    const History& history = program->app.history;
    check(history.BackCount >= 1 && history.BackCount <= kHistorySize, "BackCount out of range");
    check(history.ForwardCount == 0, "a recorded navigation kept Forward entries");
    check(program->app.main.backEnabled == (history.BackCount >= 2), "Back enabled wrongly");
    check(!program->app.main.forwardEnabled, "Forward enabled after a recorded navigation");
    return 0;
}
