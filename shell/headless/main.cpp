// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-headless [--server URL] [--offline] [--key KEY] [PROGRAM_DIR] < script

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <climits>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "catalogue/core/ProgramFiles.h"
#include "shell/headless/Driver.h"
#include "update/minisign/Minisign.h"

namespace {

std::string executableDir() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

constexpr const char* kUsage =
    "usage: zorbinta-headless [--server URL] [--offline] [--key KEY] [PROGRAM_DIR] < script\n";

}  // namespace

int main(int argc, char** argv) {
    CLI::App cli{
        "Runs Zorbinta's catalogue program without a screen: reads a script of user\n"
        "actions on standard input, one a line, and prints what the user would see.\n"
        "Exit status: 0 when the script ran to its end, 2 for a line or an option it\n"
        "cannot understand.\n\n"
        "The script language is described in headless.md (docs/ in the source,\n"
        "/usr/share/doc/zorbinta/ in the Debian package).",
        "zorbinta-headless"};
    zorbinta::headless::Options options;
    std::string programDir;
    cli.add_option("--server", options.serverUrl,
                   "the catalogue server for this run: scheme and host, optionally a port\n"
                   "(default " +
                       options.serverUrl + ")")
        ->type_name("URL")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    cli.add_flag("--offline", options.offline, "the connection check answers \"not connected\"");
    cli.add_option("--key", options.key,
                   "the catalogue keepers' minisign public key for this run (its base64\n"
                   "line, RW...), in place of the one built in; with a key, a download\n"
                   "must come with a valid signature at /base.db.minisig")
        ->type_name("KEY")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->check([](const std::string& key) {
            return zorbinta::minisign::parsePublicKey(key) ? std::string()
                                                           : "not a minisign public key: " + key;
        });
    cli.add_option("PROGRAM_DIR", programDir,
                   "the program's folder, which holds templ/, image/, style.css and base.db\n"
                   "and takes every file the program writes; without it, the folder of\n"
                   "this executable, or, when installed, the installed files and the\n"
                   "user's own in $XDG_DATA_HOME/zorbinta/ (~/.local/share/zorbinta/)")
        ->type_name("");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return cli.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "zorbinta-headless: " << e.what() << '\n' << kUsage;
        return 2;
    }
    while (!options.serverUrl.empty() && options.serverUrl.back() == '/') {
        options.serverUrl.pop_back();
    }

    // The downloads run Qt Network, whose requests wait in local event loops;
    // no display is needed. Standard input stays a plain line reader.
    QCoreApplication app(argc, argv);
    std::optional<zorbinta::ProgramFiles> files;
    if (programDir.empty()) {
        files = zorbinta::locateProgramFiles(executableDir(), zorbinta::currentUserEnvironment());
    } else {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(programDir, error);
        files.emplace(error ? programDir : absolute.string());
    }
    std::ios::sync_with_stdio(false);
    zorbinta::headless::Driver driver(std::cin, std::cout, *files, options);
    return driver.run();
}
