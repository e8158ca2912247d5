// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta: the desktop catalogue of web-hosting offers.

#include <CLI/CLI.hpp>

#include "shell/qt/DesktopStart.h"
#include "update/core/Settings.h"

namespace {

// --help and --version are answered before any window or the web engine
// starts, so they need no display. Everything else is left to Qt, which
// takes options of its own (-platform, -style ...).
bool answeredCommandLine(int argc, char** argv, int& status) {
    CLI::App cli{
        "Zorbinta: a catalogue of web-hosting offers. Browse hosting providers and their\n"
        "plans, search virtual-server plans, compare them side by side, list free hosting\n"
        "and domain-registration prices, and download a fresh catalogue.\n\n"
        "Installed, the program reads its files from PREFIX/share/zorbinta/ and keeps each\n"
        "user's downloaded catalogue and settings in $XDG_DATA_HOME/zorbinta/\n"
        "(~/.local/share/zorbinta/); a portable folder keeps everything beside the program.",
        "zorbinta"};
    cli.set_version_flag("--version", std::string("zorbinta ") + zorbinta::ProgramVersion);
    cli.allow_extras();
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        status = cli.exit(e);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (int status = 0; answeredCommandLine(argc, argv, status)) return status;
    return zorbinta::qt::runDesktopProgram(argc, argv);
}
