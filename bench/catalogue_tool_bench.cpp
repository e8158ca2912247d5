// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue tool's commands on the generated catalogues, to stand beside
// the loader's time on the same files (CatalogueLoad).

#include <benchmark/benchmark.h>

#include <array>
#include <optional>
#include <string>

#include "bench/BenchSupport.h"
#include "catalogue/core/CatalogueContents.h"
#include "catalogue/core/CatalogueDiff.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "tools/catalogue/CatalogueBytes.h"
#include "tools/catalogue/CsvExport.h"
#include "tools/catalogue/CsvImport.h"

namespace zorbinta::bench {
namespace {

using namespace zorbinta::tool;

std::string catalogueFile(const benchmark::State& state) {
    return programFor(static_cast<int>(state.range(0))).catalogueFile();
}

// Read the file and list its problems.
void ToolCheck(benchmark::State& state) {
    const std::string file = catalogueFile(state);
    for (auto _ : state) {
        const CatalogueCheck check = checkCatalogueBytes(readFileBytes(file));
        if (!check.problems.empty()) state.SkipWithError("the generated catalogue has problems");
        benchmark::DoNotOptimize(check.plans);
    }
}
BENCHMARK(ToolCheck)->Apply(sizes);

// Read, check and load the file, and make the five CSV texts.
void ToolExport(benchmark::State& state) {
    const std::string file = catalogueFile(state);
    for (auto _ : state) {
        const std::string bytes = readFileBytes(file);
        benchmark::DoNotOptimize(checkCatalogueBytes(bytes).problems.size());
        const std::array<std::string, kCsvFileCount> csv = exportCsv(loadCatalogueBytes(bytes));
        benchmark::DoNotOptimize(csv[1].size());
    }
}
BENCHMARK(ToolExport)->Apply(sizes);

// Check the five CSV texts and make the base.db bytes.
void ToolBuild(benchmark::State& state) {
    const std::array<std::string, kCsvFileCount> csv =
        exportCsv(loadCatalogueBytes(readFileBytes(catalogueFile(state))));
    std::array<std::optional<std::string>, kCsvFileCount> files;
    for (int i = 0; i < kCsvFileCount; ++i) files[i] = csv[i];
    for (auto _ : state) {
        CatalogueContents contents;
        if (!buildFromCsv(files, contents).empty())
            state.SkipWithError("the CSV files have problems");
        benchmark::DoNotOptimize(catalogueBytes(contents).size());
    }
}
BENCHMARK(ToolBuild)->Apply(sizes);

// Read and load two copies of the file and compare them.
void ToolDiff(benchmark::State& state) {
    const std::string file = catalogueFile(state);
    for (auto _ : state) {
        const CatalogueContents before = loadCatalogueBytes(readFileBytes(file));
        const CatalogueContents after = loadCatalogueBytes(readFileBytes(file));
        const CatalogueChanges changes = compareCatalogues(*before.tables, *after.tables);
        if (!changes.empty()) state.SkipWithError("a file differs from itself");
        benchmark::DoNotOptimize(changes.changes.size());
    }
}
BENCHMARK(ToolDiff)->Apply(sizes);

}  // namespace
}  // namespace zorbinta::bench
