// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a download writes, chunk by chunk, with the runtime's error texts
// ("Disk full", "File access denied", "I/O error %d") that the user is shown.

#include <cstddef>
#include <cstdio>
#include <string>

namespace zorbinta {

// The runtime's text for a failed file operation on path with the system's
// error code: fileErrorText's, but a folder or a file in use where the
// download writes is "File access denied" and a full quota "Disk full".
std::string ioErrorText(int error, const std::string& path);

// Removes what a transfer left at path; a folder or anything else that is not
// a plain file or a link is not ours and stays. True when something went.
bool removePart(const std::string& path);

class ChunkFile {
public:
    explicit ChunkFile(std::string path) : path_(std::move(path)) {}
    ~ChunkFile();
    ChunkFile(const ChunkFile&) = delete;
    ChunkFile& operator=(const ChunkFile&) = delete;

    // Creates or truncates the file. Unbuffered, so a full disk shows at the
    // chunk that hits it.
    bool open();
    bool append(const char* data, std::size_t size);
    bool close();
    // Set when open, append or close failed.
    const std::string& errorText() const { return errorText_; }
    // The system's error code of that failure.
    int errorCode() const { return errorCode_; }

private:
    bool fail(int error);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string errorText_;
    int errorCode_ = 0;
};

}  // namespace zorbinta
