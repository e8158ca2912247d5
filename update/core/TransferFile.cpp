// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/core/TransferFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "catalogue/core/FileIO.h"

namespace zorbinta {

std::string ioErrorText(int error, const std::string& path) {
    switch (error) {
        // A target the download cannot take: a folder, or a file in use.
        case EISDIR:
        case EBUSY:
        case ETXTBSY:
            return "File access denied";
        case EDQUOT:
            return "Disk full";
        default:
            return fileErrorText(error, path);
    }
}

bool removePart(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (ec) return false;
    if (std::filesystem::is_regular_file(status) || std::filesystem::is_symlink(status)) {
        return std::filesystem::remove(path, ec);
    }
    return false;
}

ChunkFile::~ChunkFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool ChunkFile::fail(int error) {
    errorCode_ = error != 0 ? error : EIO;
    errorText_ = ioErrorText(errorCode_, path_);
    return false;
}

bool ChunkFile::open() {
    errno = 0;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) return fail(errno);
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

bool ChunkFile::append(const char* data, std::size_t size) {
    if (file_ == nullptr) return fail(EBADF);
    if (size == 0) return true;
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) return fail(errno);
    return true;
}

bool ChunkFile::close() {
    if (file_ == nullptr) return errorText_.empty();
    errno = 0;
    const int rc = std::fclose(file_);
    file_ = nullptr;
    if (rc != 0) return fail(errno);
    return true;
}

}  // namespace zorbinta
