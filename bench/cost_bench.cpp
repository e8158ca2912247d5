// SPDX-License-Identifier: GPL-3.0-or-later
// The cost page as the router builds it after a search: every plan of the
// search costed over three years with a domain, from the location to the
// page written into the pane, beside the search results page it is measured
// against.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchSupport.h"
#include "router/core/CostPage.h"

namespace zorbinta::bench {
namespace {

void RouterCostPage(benchmark::State& state) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    // A current search that every plan passes, so that all are costed.
    program.app.search.searched = true;
    const std::string location =
        "file://" + program.app.programDir() + "templ/" + kCostCommand + "?z=1&n=3&s=1";
    program.app.router.handle(location);
    if (program.pane.last.find("Тарифных планов: 0<") != std::string::npos) {
        state.SkipWithError(("no costed plans for " + location).c_str());
        return;
    }
    timeRouterHandling(state, program, location);
}
BENCHMARK(RouterCostPage)->Apply(sizes);

}  // namespace
}  // namespace zorbinta::bench
