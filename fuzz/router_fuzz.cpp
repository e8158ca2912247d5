// The router on arbitrary location texts against the sample catalogue: every
// handling either shows its pages or stops with an Error; pages are valid
// text and the history stays within its bounds. A location that begins with
// "~/" stands for one in the program's own folder ("file://" + ProgramDir),
// so that seeds need not know where the run puts the folder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/core/Error.h"
#include "fuzz/FuzzSupport.h"
#include "shell/core/Application.h"
#include "tests/FakePlatform.h"

namespace {

using namespace zorbinta;
using fuzz::check;

struct Program {
    Program()
        : app(Platform{pane, fake, fake, fake, fake, fake, fake, fake.http}, folder.programDir(),
              "http://fuzz.example") {
        app.main.start();
        check(app.catalogue.PlanCount > 0, "the sample catalogue did not load");
        // An empty search form: every plan matches.
        app.search.criteria.Bounds[6] = kUnlimited;
    }
    fuzz::SampleProgram folder;
    fuzz::CheckingPane pane;
    testing::FakePlatform fake;
    Application app;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Program* program = new Program();  // lives for the whole run
    std::string location(reinterpret_cast<const char*>(data), size);
    if (location.starts_with("~/"))
        location = "file://" + program->app.programDir() + location.substr(2);

    // The search form's three fields that steer the results order, filled or
    // not as the input's length says, so that every override is met.
    SearchDialog& search = program->app.search;
    search.Edit[1] = size % 2 == 0 ? "" : "10";
    search.Edit[2] = size % 3 == 0 ? "" : "1000";
    search.Edit[6] = size % 5 == 0 ? "50" : "";
    try {
        program->app.router.handle(location);
    } catch (const Error&) {
        // The conversion errors of bad numbers; the program shows them.
    }
    const History& history = program->app.history;
    check(history.BackCount >= 1 && history.BackCount <= kHistorySize, "BackCount out of range");
    check(history.ForwardCount == 0, "a recorded navigation kept Forward entries");
    return 0;
}
