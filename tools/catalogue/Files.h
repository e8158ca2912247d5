// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool's file edges: bounded reads, and writes that leave either the old
// file or the whole new one, never a part.

#include <cstdint>
#include <string>
#include <string_view>

namespace zorbinta::tool {

// The bytes of a file of at most `limit` bytes. Throws Error naming the path:
// missing, a folder, unreadable or too large (refused before it is read).
std::string readBoundedFile(const std::string& path, std::uintmax_t limit);

// A file written beside its destination under a temporary name and flushed
// to the disk; commit() renames it into place, and a file never committed is
// removed.
class PendingFile {
public:
    PendingFile(std::string path, std::string_view bytes);  // throws Error
    ~PendingFile();
    PendingFile(PendingFile&& other) noexcept;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    PendingFile& operator=(PendingFile&&) = delete;

    void commit();  // throws Error

private:
    std::string path_;
    std::string temp_;
};

}  // namespace zorbinta::tool
