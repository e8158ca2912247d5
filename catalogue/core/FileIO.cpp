#include "catalogue/core/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

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

// The runtime's texts for a failed open, read or write.
[[noreturn]] void throwIoError(int error, const std::string& path) {
    switch (error) {
        case ENOENT:
            throw Error(parentFolderExists(path) ? "File not found" : "Invalid filename");
        case ENOTDIR:
        case ENAMETOOLONG: throw Error("Invalid filename");
        case EACCES:
        case EPERM:
        case EROFS: throw Error("File access denied");
        case ENOSPC: throw Error("Disk full");
        default: throw Error("I/O error " + std::to_string(error));
    }
}

}  // namespace

std::string readFileBytes(const std::string& path) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) throwIoError(errno, path);
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        errno = 0;
        const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(file.get())) throwIoError(errno != 0 ? errno : EIO, path);
            break;
        }
    }
    return bytes;
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
