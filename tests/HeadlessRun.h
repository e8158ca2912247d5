#pragma once
// zorbinta-headless run on a script, and a copy of the installed program
// folder to run it in.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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
