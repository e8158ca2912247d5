// zorbinta-headless [--server URL] [--offline] [--key KEY] [PROGRAM_DIR] < script

#include <unistd.h>

#include <QCoreApplication>
#include <climits>
#include <filesystem>
#include <iostream>
#include <string>

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

int usage() {
    std::cerr << "usage: zorbinta-headless [--server URL] [--offline] [--key KEY] [PROGRAM_DIR]"
                 " < script\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // The downloads run Qt Network, whose requests wait in local event loops;
    // no display is needed. Standard input stays a plain line reader.
    QCoreApplication app(argc, argv);
    zorbinta::headless::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--server") {
            if (++i >= argc) return usage();
            options.serverUrl = argv[i];
            while (!options.serverUrl.empty() && options.serverUrl.back() == '/') {
                options.serverUrl.pop_back();
            }
        } else if (arg == "--key") {
            if (++i >= argc) return usage();
            options.key = argv[i];
            if (!zorbinta::minisign::parsePublicKey(options.key)) {
                std::cerr << "zorbinta-headless: --key: not a minisign public key: " << options.key
                          << '\n';
                return 2;
            }
        } else if (arg == "--offline") {
            options.offline = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (options.programDir.empty()) {
            options.programDir = arg;
        } else {
            return usage();
        }
    }
    if (options.programDir.empty()) options.programDir = executableDir();
    std::error_code error;
    const auto absolute = std::filesystem::absolute(options.programDir, error);
    if (!error) options.programDir = absolute.string();
    std::ios::sync_with_stdio(false);
    zorbinta::headless::Driver driver(std::cin, std::cout, options);
    return driver.run();
}
