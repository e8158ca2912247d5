// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and ordering, each beside the least work that must be done (the
// load) or the plain selection passes (the orderings) on the same data.

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "pages/core/Ordering.h"

namespace zorbinta::bench {
namespace {

// ---- load -------------------------------------------------------------------

void CatalogueLoad(benchmark::State& state) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        program.app.loader.CatalogueLoad();
        benchmark::DoNotOptimize(program.app.catalogue.PlanCount);
    }
    state.counters["plans"] = program.app.catalogue.PlanCount;
}
BENCHMARK(CatalogueLoad)->Apply(sizes);

// The same file read into memory, decoded and cut at every "|": what any
// loader has to do before it stores a single field.
void LoadFloor(benchmark::State& state) {
    const std::string path = programFor(static_cast<int>(state.range(0))).catalogueFile();
    std::vector<std::string_view> fields;
    for (auto _ : state) {
        const std::string text = fromCp1251(readFileBytes(path));
        fields.clear();
        size_t from = 0;
        for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', from)) {
            fields.emplace_back(text.data() + from, bar - from);
            from = bar + 1;
        }
        benchmark::DoNotOptimize(fields.data());
        benchmark::ClobberMemory();
    }
    state.counters["fields"] = static_cast<double>(fields.size());
}
BENCHMARK(LoadFloor)->Apply(sizes);

// ---- ordering ------------------------------------------------------------------

// n passes of n comparisons over a private copy of the keys: each pass takes
// the first smallest key left and marks it with the sentinel.
void referenceOrderByNumber(Catalogue& catalogue, int table, int slot, int n) {
    if (n <= 0) return;
    std::array<double, kMaxRows + 1> work;
    for (int i = 1; i <= n; ++i) work[i] = catalogue.number(table, slot, i);
    for (int k = 1; k <= n; ++k) {
        double least = 999999.0;
        int chosen = 0;
        for (int i = 1; i <= n; ++i) {
            if (work[i] < least) {
                least = work[i];
                chosen = i;
            }
        }
        work[chosen] = 999999.0;
        catalogue.OrderIndex[k] = chosen;
    }
}

// The same with the greatest Windows-1251 text first and the empty text as
// the sentinel.
void referenceOrderByText(Catalogue& catalogue, int table, int slot, int n) {
    if (n <= 0) return;
    static std::array<std::string, kMaxRows + 1> work;
    for (int i = 1; i <= n; ++i) work[i] = toCp1251(catalogue.text(table, slot, i));
    for (int k = 1; k <= n; ++k) {
        const std::string* greatest = nullptr;
        int chosen = 0;
        for (int i = 1; i <= n; ++i) {
            if (greatest == nullptr ? !work[i].empty() : work[i] > *greatest) {
                greatest = &work[i];
                chosen = i;
            }
        }
        work[chosen].clear();
        catalogue.OrderIndex[k] = chosen;
    }
}

enum class Key { Number, Text };

struct OrderUse {
    Key key;
    int table;
    int slot;
};

// Every ordering the program makes.
constexpr OrderUse kUses[] = {
    {Key::Number, PlanTable, slot::DiskMb},
    {Key::Number, PlanTable, slot::Traffic},
    {Key::Number, PlanTable, slot::MonthlyCost},
    {Key::Number, DomainTable, slot::RegistrationPrice},
    {Key::Number, DomainTable, slot::RenewalPrice},
    {Key::Text, ProviderTable, slot::WebAddress},
    {Key::Text, DomainTable, slot::Zone},
    {Key::Text, FreeHostTable, slot::FreeAddress},
};

std::vector<int> ordered(Catalogue& catalogue, const OrderUse& use, int n, bool reference) {
    if (use.key == Key::Number) {
        (reference ? referenceOrderByNumber : OrderByNumber)(catalogue, use.table, use.slot, n);
    } else {
        (reference ? referenceOrderByText : OrderByText)(catalogue, use.table, use.slot, n);
    }
    return {catalogue.OrderIndex.begin() + 1, catalogue.OrderIndex.begin() + 1 + n};
}

// 1 when every ordering of the program gives the reference's rows.
bool sameAsReference(Catalogue& catalogue) {
    for (const OrderUse& use : kUses) {
        const int n = catalogue.rowCount(use.table);
        if (ordered(catalogue, use, n, false) != ordered(catalogue, use, n, true)) return false;
    }
    return true;
}

template <bool Reference>
void orderBench(benchmark::State& state, const OrderUse use) {
    ProgramUnderTest program(static_cast<int>(state.range(0)));
    Catalogue& catalogue = program.app.catalogue;
    const bool same = sameAsReference(catalogue);
    if (!same) state.SkipWithError("ordering differs from the selection passes");
    const int n = catalogue.rowCount(use.table);
    for (auto _ : state) {
        if (use.key == Key::Number) {
            (Reference ? referenceOrderByNumber : OrderByNumber)(catalogue, use.table, use.slot, n);
        } else {
            (Reference ? referenceOrderByText : OrderByText)(catalogue, use.table, use.slot, n);
        }
        benchmark::DoNotOptimize(catalogue.OrderIndex.data());
        benchmark::ClobberMemory();
    }
    state.counters["identical"] = same ? 1 : 0;
}

// Plans by disk space, as every activation orders them; providers by web
// address, as the provider list does.
constexpr OrderUse kByDisk{Key::Number, PlanTable, slot::DiskMb};
constexpr OrderUse kByAddress{Key::Text, ProviderTable, slot::WebAddress};

const bool kRegistered = [] {
    const std::pair<const char*, void (*)(benchmark::State&)> benches[] = {
        {"OrderByNumber", [](benchmark::State& s) { orderBench<false>(s, kByDisk); }},
        {"OrderByNumberReference", [](benchmark::State& s) { orderBench<true>(s, kByDisk); }},
        {"OrderByText", [](benchmark::State& s) { orderBench<false>(s, kByAddress); }},
        {"OrderByTextReference", [](benchmark::State& s) { orderBench<true>(s, kByAddress); }},
    };
    for (const auto& [name, run] : benches) benchmark::RegisterBenchmark(name, run)->Apply(sizes);
    return true;
}();

}  // namespace
}  // namespace zorbinta::bench
