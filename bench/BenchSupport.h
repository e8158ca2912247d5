// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program folders with generated catalogues, and a browser pane that keeps
// only the last page, for driving the whole program in benchmarks.

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

#include "pages/core/BrowserPane.h"
#include "pages/core/PageOutput.h"
#include "shell/core/Application.h"
#include "tests/FakePlatform.h"

namespace zorbinta::bench {

// Every benchmark runs on catalogues of 10, 100 and 1000 records per tag.
inline constexpr int kSizes[] = {10, 100, 1000};

inline void sizes(benchmark::internal::Benchmark* b) {
    for (const int n : kSizes) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

// A program folder holding the installed templates and a catalogue of n
// records of every tag, written by scripts/gen_catalogue.py so that tests,
// benchmarks and the peak-memory run measure the same shape of file.
class GeneratedProgram {
public:
    explicit GeneratedProgram(int records) {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() /
               ("zorbinta-bench-" + std::to_string(::getpid()) + "-" + std::to_string(records));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "templ");
        fs::copy(fs::path(ZORBINTA_APP_DIR) / "templ", dir_ / "templ",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        // scripts/gen_catalogue.py writing file, with options before the count.
        auto generate = [&](const std::string& options, const std::string& file) {
            const std::string command =
                "python3 '" ZORBINTA_SOURCE_DIR "/scripts/gen_catalogue.py'" + options +
                " --records " + std::to_string(records) + " '" + (dir_ / file).string() + "'";
            if (std::system(command.c_str()) != 0 || !fs::exists(dir_ / file)) {
                throw std::runtime_error("cannot generate a catalogue: " + command);
            }
        };
        generate("", "base.db");
        // The same catalogue as it stood before, for the changes page.
        generate(" --earlier", "base.db.prev");
    }
    ~GeneratedProgram() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    GeneratedProgram(const GeneratedProgram&) = delete;
    GeneratedProgram& operator=(const GeneratedProgram&) = delete;

    std::string programDir() const { return dir_.string() + "/"; }
    std::string catalogueFile() const { return (dir_ / "base.db").string(); }

private:
    std::filesystem::path dir_;
};

// One folder per size for the whole run.
inline const GeneratedProgram& programFor(int records) {
    static std::map<int, std::unique_ptr<GeneratedProgram>> programs;
    auto& program = programs[records];
    if (!program) program = std::make_unique<GeneratedProgram>(records);
    return *program;
}

// The whole program over in-memory services, started on a generated folder.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(int records)
        : app(Platform{pane, fake, fake, fake, fake, fake, fake, fake.http},
              ProgramFiles(programFor(records).programDir()), "http://bench.example") {
        app.main.start();
        // An empty search form: no lower bound, any price.
        app.search.criteria.Bounds[6] = kUnlimited;
    }

    std::string commandLocation(const std::string& command) const {
        return commandUrl(app.programDir(), command);
    }

    testing::ImmediatePane pane;
    testing::FakePlatform fake;
    Application app;
};

// Times the router's handling of location, from the location to the page
// written into the pane; a location that shows no page, or raises an error,
// is reported rather than timed.
inline void timeRouterHandling(benchmark::State& state, ProgramUnderTest& program,
                               const std::string& location) {
    const long long before = program.pane.written;
    program.app.router.handle(location);
    if (program.pane.written != before + 1 || !program.fake.errors.empty()) {
        state.SkipWithError(("no page for " + location).c_str());
        return;
    }
    for (auto _ : state) {
        program.app.router.handle(location);
        benchmark::DoNotOptimize(program.pane.last.data());
    }
    state.counters["page_bytes"] = static_cast<double>(program.pane.last.size());
}

}  // namespace zorbinta::bench
