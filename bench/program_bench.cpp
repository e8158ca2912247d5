// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the user meets it: one router handling per kind of page,
// from the location text to the page written into the pane, and the main
// window's activation.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

#include "bench/BenchSupport.h"

namespace zorbinta::bench {
namespace {

// The provider with the most plans, so that its card is the longest.
long long busiestProvider(const Catalogue& catalogue) {
    std::map<double, int> plans;
    for (int r = 1; r <= catalogue.PlanCount; ++r) {
        ++plans[catalogue.number(PlanTable, slot::PlanProviderId, r)];
    }
    double best = catalogue.number(ProviderTable, slot::ProviderId, 1);
    int most = 0;
    for (const auto& [id, count] : plans) {
        if (count > most) {
            best = id;
            most = count;
        }
    }
    return static_cast<long long>(best);
}

std::string compareLocation(int plans, int available) {
    std::string location = "http://srav/?";
    for (int r = 1; r <= plans && r <= available; ++r) {
        if (r > 1) location += '&';
        location += "nom=" + std::to_string(r);
    }
    return location;
}

enum class PageKind { Results, Provider, Compare, FreeHosting, Domains, DomainsOfZone, Changes };

std::string locationOf(PageKind kind, const ProgramUnderTest& program) {
    const Catalogue& catalogue = program.app.catalogue;
    switch (kind) {
        case PageKind::Results:
            return program.commandLocation("stoim");
        case PageKind::Provider:
            return program.commandLocation("provid=" + std::to_string(busiestProvider(catalogue)));
        case PageKind::Compare:
            return compareLocation(15, catalogue.PlanCount);
        case PageKind::FreeHosting:
            return program.commandLocation("free");
        case PageKind::Domains:
            return program.commandLocation("dom");
        case PageKind::DomainsOfZone:
            return "http://dom/?zona=.ru%7C&norh=0";
        case PageKind::Changes:  // base.db.prev against base.db
            return program.commandLocation("izmen");
    }
    return {};
}

void routerHandling(benchmark::State& state, PageKind kind) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    const std::string location = locationOf(kind, program);
    timeRouterHandling(state, program, location);
}

const bool kRegistered = [] {
    const std::pair<const char*, PageKind> pages[] = {
        {"RouterResultsPage", PageKind::Results}, {"RouterProviderPage", PageKind::Provider},
        {"RouterComparePage", PageKind::Compare}, {"RouterFreeHostingPage", PageKind::FreeHosting},
        {"RouterDomainPage", PageKind::Domains},  {"RouterDomainZonePage", PageKind::DomainsOfZone},
        {"RouterChangesPage", PageKind::Changes},
    };
    for (const auto& [name, kind] : pages) {
        benchmark::RegisterBenchmark(name, routerHandling, kind)->Apply(sizes);
    }
    return true;
}();

// The start page as the first activation writes it, from the tables to the pane.
void RouterStartPage(benchmark::State& state) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        program.app.main.writeStartPage();
        benchmark::DoNotOptimize(program.pane.last.data());
    }
    state.counters["page_bytes"] = static_cast<double>(program.pane.last.size());
}
BENCHMARK(RouterStartPage)->Apply(sizes);

// main.active(): load, order by disk space, history cleared, bounds, status.
void Activation(benchmark::State& state) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        program.app.main.active();
        benchmark::DoNotOptimize(program.app.main.statusText[1].data());
    }
    if (!program.fake.errors.empty()) state.SkipWithError(program.fake.errors.front().c_str());
    state.counters["plans"] = program.app.catalogue.PlanCount;
}
BENCHMARK(Activation)->Apply(sizes);

}  // namespace
}  // namespace zorbinta::bench
