// SPDX-License-Identifier: GPL-3.0-or-later
// What a signed download adds, on a catalogue close to the size bound: the
// signature check of the bytes received, beside loading the same bytes.
// (The download checks once more the signature kept beside the catalogue in
// use, over that file.)

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/ProgramFiles.h"
#include "tests/MinisignTestKey.h"
#include "update/core/Settings.h"
#include "update/minisign/Minisign.h"

namespace zorbinta::bench {
namespace {

class NoOffer final : public NewVersionOffer {
public:
    void OfferNewVersion(const std::string&, const std::string&) override {}
};

// scripts/gen_catalogue.py --records 1000 --extra-info 31000: about 30 MiB.
const std::string& bigCatalogue() {
    static const std::string bytes = [] {
        const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                           ("zorbinta-bench-big-" + std::to_string(::getpid()));
        const std::string command = "python3 '" ZORBINTA_SOURCE_DIR
                                    "/scripts/gen_catalogue.py' --records 1000 "
                                    "--extra-info 31000 '" +
                                    file.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot generate");
        std::string read = readFileBytes(file.string());
        std::filesystem::remove(file);
        return read;
    }();
    return bytes;
}

void BigCatalogueLoad(benchmark::State& state) {
    const std::string& bytes = bigCatalogue();
    Catalogue catalogue;
    NoOffer offer;
    CatalogueLoader loader(catalogue, ProgramFiles("/nonexistent/"), offer);
    for (auto _ : state) {
        loader.loadBytes(bytes);
        benchmark::DoNotOptimize(catalogue.PlanCount);
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BigCatalogueLoad)->Unit(benchmark::kMillisecond);

void SignatureCheck(benchmark::State& state, testing::MinisignTestKey::Mode mode) {
    const std::string& bytes = bigCatalogue();
    const testing::MinisignTestKey keepers;
    const std::string signature = keepers.sign(bytes, 1700000000, mode);
    const auto checker = minisign::checkerFor(keepers.publicLine());
    for (auto _ : state) {
        if (!checker->check(bytes, signature).valid) state.SkipWithError("refused");
    }
}
BENCHMARK_CAPTURE(SignatureCheck, Prehashed, testing::MinisignTestKey::Mode::Prehashed)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SignatureCheck, Legacy, testing::MinisignTestKey::Mode::Legacy)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorbinta::bench
