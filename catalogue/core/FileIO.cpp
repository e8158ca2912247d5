// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/core/Error.h"

namespace zorbinta {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool parentFolderExists(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return true;  // relative to the working folder
    std::error_code ec;
    return std::filesystem::is_directory(parent, ec);
}

[[noreturn]] void throwIoError(int error, const std::string& path) {
    throw Error(fileErrorText(error, path));
}

// The error errno holds, EIO where the call left none.
std::error_code lastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

}  // namespace

std::string fileErrorText(int error, const std::string& path) {
    switch (error) {
        case ENOENT:
            return parentFolderExists(path) ? "File not found" : "Invalid filename";
        case ENOTDIR:
        case ENAMETOOLONG:
            return "Invalid filename";
        case EACCES:
        case EPERM:
        case EROFS:
            return "File access denied";
        case ENOSPC:
            return "Disk full";
        default:
            return "I/O error " + std::to_string(error);
    }
}

std::string readFileBytes(const std::string& path) {
    return std::move(*readFileBytesUpTo(path, UINTMAX_MAX - 1).bytes);
}

BoundedBytes readFileBytesUpTo(const std::string& path, std::uintmax_t limit) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throwIoError(errno, path);
    struct stat info {};
    BoundedBytes read;
    if (::fstat(::fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode)) {
        read.size = static_cast<std::uintmax_t>(info.st_size);
    }
    if (read.size > limit) return read;
    std::string bytes;
    // The whole file in one block: growing by doubling would hold the old
    // and the new block at once.
    bytes.reserve(static_cast<size_t>(read.size) + 1);
    char buffer[64 * 1024];
    for (;;) {
        errno = 0;
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (bytes.size() > limit) {
            read.size = std::max<std::uintmax_t>(read.size, bytes.size());
            return read;
        }
        if (got < sizeof buffer) {
            if (std::ferror(file.get())) throwIoError(errno != 0 ? errno : EIO, path);
            break;
        }
    }
    read.size = bytes.size();
    read.bytes = std::move(bytes);
    return read;
}

void writeFileBytes(const std::string& path, std::string_view bytes) {
    errno = 0;
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (raw == nullptr) throwIoError(errno, path);
    errno = 0;
    const size_t put = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), raw);
    int error = put == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    // A full disk often shows only when the buffer is flushed.
    errno = 0;
    if (std::fclose(raw) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (error != 0) throwIoError(error, path);
}

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return {};
}

namespace {

// Fills a fresh temporary file beside target through fill(fd), flushes it and
// renames it over target; on failure no temporary file is left and the
// runtime's text is thrown for path. mode: the permissions to keep; without
// it a new file's usual ones.
template <typename Fill>
void replaceDurably(const std::string& path, const std::string& target, std::optional<mode_t> mode,
                    Fill fill) {
    const std::string temporary = target + ".tmp";
    ::unlink(temporary.c_str());  // a leftover, or a link planted there
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throwIoError(lastError().value(), path);
    std::error_code error = fill(fd);
    if (!error && mode && ::fchmod(fd, *mode) != 0) error = lastError();
    if (!error && ::fsync(fd) != 0) error = lastError();
    if (::close(fd) != 0 && !error) error = lastError();
    if (!error && std::rename(temporary.c_str(), target.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        throwIoError(error.value(), path);
    }
    // The rename is done; a folder that cannot be flushed leaves it to the
    // system's own write-back, which is all that can be had there.
    syncFolderOf(target);
}

}  // namespace

void writeFileDurably(const std::string& path, std::string_view bytes) {
    std::string target = path;
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
        const auto resolved = std::filesystem::weakly_canonical(path, ec);
        if (!ec) target = resolved.string();
    }
    // The checks an in-place write makes: a file that may not be written, or a
    // folder in its place, fails with the runtime's text. A missing file is
    // created.
    std::optional<mode_t> mode;
    errno = 0;
    const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (probe >= 0) {
        struct stat info {};
        if (::fstat(probe, &info) == 0) mode = info.st_mode & 07777;
        ::close(probe);
    } else if (errno != ENOENT) {
        throwIoError(errno, path);
    }
    replaceDurably(path, target, mode, [bytes](int fd) { return writeAll(fd, bytes); });
}

void copyFileDurably(const std::string& from, const std::string& to) {
    errno = 0;
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) throwIoError(lastError().value(), from);
    struct SourceCloser {
        int fd;
        ~SourceCloser() { ::close(fd); }
    } closer{source};
    struct stat info {};
    std::optional<mode_t> mode;
    if (::fstat(source, &info) == 0) mode = info.st_mode & 07777;
    replaceDurably(to, to, mode, [source](int fd) -> std::error_code {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(source, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                return lastError();
            }
            if (got == 0) return {};
            if (auto e = writeAll(fd, std::string_view(buffer, static_cast<size_t>(got)))) return e;
        }
    });
}

void makeFolders(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).lexically_normal();
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        if (part.empty()) continue;  // the empty part after a trailing slash
        made /= part;
        if (::mkdir(made.c_str(), 0700) == 0) continue;
        const int error = errno;
        struct stat info {};
        if (error == EEXIST && ::stat(made.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode)) continue;
            throwIoError(ENOTDIR, path);
        }
        throwIoError(error, path);
    }
}

std::error_code syncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return lastError();
    std::error_code error;
    if (::fsync(fd) != 0) error = lastError();
    if (::close(fd) != 0 && !error) error = lastError();
    return error;
}

std::error_code syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastError();
    std::error_code error;
    if (::fsync(fd) != 0) error = lastError();
    ::close(fd);
    return error;
}

std::vector<std::string> splitLines(std::string_view bytes) {
    if (const size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) {
        bytes = bytes.substr(0, eof);
    }
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // bytes seen since the last terminator
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
        } else if (c == '\r') {
            open = true;  // dropped, or the first half of CR LF
        } else {
            line.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(std::move(line));
    return lines;
}

}  // namespace zorbinta
