// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zorbinta-headless run on a script, and a copy of the installed program
// folder to run it in.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/FakePlatform.h"

namespace zorbinta {

struct Outcome {
    std::string out;
    int status = -1;
};

// Runs command with script on its standard input, written to scriptFile.
inline Outcome runScript(const std::string& command, const std::filesystem::path& scriptFile,
                         const std::string& script) {
    std::ofstream(scriptFile) << script;
    const std::string line = command + " < '" + scriptFile.string() + "' 2>&1";
    Outcome run;
    FILE* pipe = popen(line.c_str(), "r");
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline Outcome runHeadless(const std::filesystem::path& dir, const std::string& script,
                           const std::string& flags = "") {
    return runScript(std::string(ZORBINTA_HEADLESS) + " " + flags + " '" + dir.string() + "'",
                     dir / "script.txt", script);
}

// One provider, one plan, one free and one domain offer.
inline std::string smallCatalogue() {
    std::string catalogue = "prov|1|Firm1|Addr|1|2|3|4|5|6|www.p1.ru|m@p.ru|01.01.2005||";
    for (int f = 0; f < 10; ++f) catalogue += "0|";
    catalogue += "vs|Plan1|1|1|100|1000|5|5|1|10|1|0|";
    for (int f = 0; f < 15; ++f) catalogue += "1|";
    return catalogue + "free|www.free.ru|yes|php|none|50|1|dom|ru|0|1|600|600|1|";
}

// Every page the run wrote: its location and its text.
inline std::vector<std::pair<std::string, std::string>> pagesOf(const std::string& out) {
    std::vector<std::pair<std::string, std::string>> pages;
    const std::string head = "=== page ";
    for (size_t at = out.find(head); at != std::string::npos; at = out.find(head, at + 1)) {
        if (at > 0 && out[at - 1] != '\n') continue;
        const size_t text = out.find('\n', at) + 1;
        const size_t end = out.find("\n=== end\n", text);
        pages.emplace_back(out.substr(at + head.size(), text - 1 - at - head.size()),
                           out.substr(text, end - text));
    }
    return pages;
}

// A copy of the installed program folder with its sample catalogue.
class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(ZORBINTA_APP_DIR, folder.dir,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
    testing::ProgramFolder folder;
};

}  // namespace zorbinta
