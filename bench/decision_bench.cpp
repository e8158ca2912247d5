// SPDX-License-Identifier: GPL-3.0-or-later
// The near-miss and unbeaten-plans pages beside the results page, each a
// router handling with the same current search: scripts/bench prints their
// ratios to the results page.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchSupport.h"
#include "router/core/NearMissPage.h"
#include "router/core/UnbeatenPage.h"

namespace zorbinta::bench {
namespace {

// A "Найти" with five conditions, the search that often finds little: on the
// generated catalogue about 3 % of the plans match it and about 17 % miss it
// by exactly one condition.
void searchOnce(ProgramUnderTest& program) {
    SearchState& search = program.app.search;
    search.criteria = {};
    search.criteria.Bounds[1] = 500;   // disk space
    search.criteria.Bounds[2] = 5000;  // traffic
    search.criteria.Bounds[6] = 50;    // monthly price
    search.criteria.Options[1] = 1;    // PHP
    search.criteria.Options[5] = 1;    // Cron
    search.searched = true;
}

void searchedHandling(benchmark::State& state, const char* command) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    searchOnce(program);
    const std::string location = program.commandLocation(command);
    timeRouterHandling(state, program, location);
}

const bool kRegistered = [] {
    const std::pair<const char*, const char*> pages[] = {
        {"RouterSearchedResultsPage", "stoim"},
        {"RouterNearMissPage", kNearMissCommand},
        {"RouterUnbeatenPage", kUnbeatenCommand},
    };
    for (const auto& [name, command] : pages) {
        benchmark::RegisterBenchmark(name, searchedHandling, command)->Apply(sizes);
    }
    return true;
}();

}  // namespace
}  // namespace zorbinta::bench
