// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and writes with the runtime's error texts, which the user
// sees in the error box. What can fail throws Error with that text; only the
// steps whose callers word the failure themselves or go on without them
// (writeAll, syncFile, syncFolderOf) return the system's error instead.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zorbinta {

// The runtime's text for a failed open, read or write of path with the
// system's error code, as the functions below throw it.
std::string fileErrorText(int error, const std::string& path);

// Throws Error: "File not found" when the file is missing, "Invalid filename"
// when its folder does not exist, "File access denied" without access,
// otherwise "I/O error %d" with the system's error code.
std::string readFileBytes(const std::string& path);

// What a read bounded by a limit gives: the bytes, or none for a file
// longer than the limit, whose size (at least limit + 1) is then in size.
struct BoundedBytes {
    std::optional<std::string> bytes;
    std::uintmax_t size = 0;
};

// The same as readFileBytes for a file that may hold at most limit bytes. The
// size is taken before anything is read; a longer file (or one that grows
// while it is read) gives no bytes and is never read past limit + 1 bytes.
BoundedBytes readFileBytesUpTo(const std::string& path, std::uintmax_t limit);

// Creates or truncates path and writes bytes. Throws the same texts.
void writeFileBytes(const std::string& path, std::string_view bytes);

// Replaces path so that a power cut leaves the old contents or the new ones,
// never a truncated file: bytes go to path + ".tmp" beside it, are flushed to
// the disk and renamed over path, and the folder is flushed after. A link at
// path is written through, and the file keeps its permissions. A file the
// program may not write fails as an in-place write would ("File access
// denied"), although a rename could replace it. Throws the same texts.
void writeFileDurably(const std::string& path, std::string_view bytes);

// Copies from to to in the same way (to + ".tmp", flushed, renamed, folder
// flushed). Throws the same texts; on failure no temporary file is left and
// to is as it was.
void copyFileDurably(const std::string& from, const std::string& to);

// Writes all of bytes to the open file fd, again where a write is cut short
// or interrupted. Returns the system's error, empty when all was written.
std::error_code writeAll(int fd, std::string_view bytes);

// Makes the folder path and each missing folder above it, readable and
// writable by the user alone. Throws the same texts: "File access denied"
// where the user may not create it, "Invalid filename" where a file stands
// in the way.
void makeFolders(const std::string& path);

// Flushes a file's contents, or the entry list of the folder that holds path,
// to the disk. Return the system's error, empty when flushed.
std::error_code syncFile(const std::string& path);
std::error_code syncFolderOf(const std::string& path);

// Text lines as the runtime reads them: a line ends at LF or CR LF, a CR not
// followed by LF is dropped, the byte 0x1A ends the text, and a last line
// without a terminator counts too. The lines own their bytes, so the result
// may outlive the buffer it was split from.
std::vector<std::string> splitLines(std::string_view bytes);

}  // namespace zorbinta
