// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/ProgramFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "catalogue/core/FileIO.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// The home folder Debian gives a user without one: nothing can be made there.
constexpr const char* kNoHome = "/nonexistent";

}  // namespace

ProgramFiles::ProgramFiles(std::string dir)
    : programDir_(withSlash(std::move(dir))), userDir_(programDir_) {}

ProgramFiles::ProgramFiles(std::string programDir, std::string userDir)
    : programDir_(withSlash(std::move(programDir))), userDir_(withSlash(std::move(userDir))) {}

std::string ProgramFiles::userFile(std::string_view name) const {
    return userDir_ + std::string(name);
}

std::string ProgramFiles::currentFile(std::string_view name) const {
    std::string own = userFile(name);
    if (portable()) return own;
    // Anything by that name is the user's, even a file that cannot be read:
    // its error is shown rather than the shipped file taken in silence.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(own, ec))) return own;
    return programDir_ + std::string(name);
}

void ProgramFiles::makeUserFolderFor(std::string_view name) const {
    if (portable()) return;
    makeFolders(fs::path(userFile(name)).parent_path().string());
}

UserEnvironment currentUserEnvironment() {
    UserEnvironment env;
    if (const char* home = std::getenv("HOME"); home != nullptr && isAbsolute(home)) {
        env.home = home;
    } else {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            env.home = found->pw_dir;
        }
    }
    if (const char* data = std::getenv("XDG_DATA_HOME")) env.dataHome = data;
    return env;
}

ProgramFiles locateProgramFiles(const std::string& executableDir, const UserEnvironment& env) {
    const fs::path exe = fs::path(withSlash(executableDir)).parent_path();
    if (isFolder(exe / "templ")) return ProgramFiles(exe.string());
    const fs::path installed = exe.parent_path() / "share" / "zorbinta";
    if (exe.filename() != "bin" || !isFolder(installed / "templ")) {
        return ProgramFiles(exe.string());
    }
    // Relative values are ignored, as the XDG base directory rules ask.
    const fs::path home = isAbsolute(env.home) ? env.home : kNoHome;
    const fs::path dataHome =
        isAbsolute(env.dataHome) ? fs::path(env.dataHome) : home / ".local" / "share";
    return ProgramFiles(installed.string(), (dataHome / "zorbinta").string());
}

}  // namespace zorbinta
