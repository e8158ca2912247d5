// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"

namespace zorbinta::tool {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& path, int error) {
    throw Error(path + ": " + std::strerror(error));
}

std::string sizeText(std::uintmax_t bytes) {
    const double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", mib);
    return text;
}

}  // namespace

std::string readBoundedFile(const std::string& path, std::uintmax_t limit) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) throw Error(path + ": is a folder, not a file");
    // A device or a pipe could be endless; only files are measured and read.
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        throw Error(path + ": is not a regular file");
    }
    if (fs::is_regular_file(status)) {
        const std::uintmax_t size = fs::file_size(path, ec);
        if (!ec && size > limit) {
            throw Error(path + ": the file is " + sizeText(size) + ", more than the " +
                        sizeText(limit) + " a catalogue may take; it is not read");
        }
    }
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytesUpTo(path, limit).bytes;
    } catch (const Error& e) {
        throw Error(path + ": " + e.what());
    }
    // A file that grew after it was measured: the read stopped at the bound,
    // so its size is not known.
    if (!bytes) {
        throw Error(path + ": the file is more than the " + sizeText(limit) +
                    " a catalogue may take");
    }
    return std::move(*bytes);
}

PendingFile::PendingFile(std::string path, std::string_view bytes) : path_(std::move(path)) {
    std::error_code ec;
    if (fs::is_directory(path_, ec)) throw Error(path_ + ": is a folder");
    for (int attempt = 0;; ++attempt) {
        temp_ = path_ + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            const int error = errno;
            if (error == EEXIST && attempt < 100) continue;
            temp_.clear();
            fail(path_, error);
        }
        int error = writeAll(fd, bytes).value();
        if (error == 0 && ::fsync(fd) != 0) error = errno;
        if (::close(fd) != 0 && error == 0) error = errno;
        if (error != 0) {
            ::unlink(temp_.c_str());
            temp_.clear();
            fail(path_, error);
        }
        return;
    }
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : path_(std::move(other.path_)), temp_(std::move(other.temp_)) {
    other.temp_.clear();
}

PendingFile::~PendingFile() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

void PendingFile::commit() {
    if (::rename(temp_.c_str(), path_.c_str()) != 0) fail(path_, errno);
    temp_.clear();
    // The rename stands; a folder that cannot be flushed leaves only its
    // durability unknown.
    syncFolderOf(path_);
}

}  // namespace zorbinta::tool
