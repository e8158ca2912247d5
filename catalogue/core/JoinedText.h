// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text a catalogue is parsed from: the file's lines joined with "?*?"
// (a line ends at LF or CR LF, a CR on its own is dropped, the byte 0x1A
// ends the text), and where each run of it came from, so that a problem can
// name a byte offset of the file. It stays in Windows-1251, one byte a
// character as in the file, so it takes no more room than the file; each
// text value is decoded to UTF-8 only when it is taken out.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorbinta {

// A line break of the file as it stands in the joined text.
inline constexpr std::string_view kLineJoin = "?*?";

class JoinedText {
public:
    explicit JoinedText(std::string_view fileBytes);

    std::string_view text() const { return text_; }
    // The byte offset in the file of the character at joined in text(); a
    // "?*?" that stands for a line break counts as the break's bytes do.
    size_t fileOffset(size_t joined) const;

private:
    // From text offset joined on, each byte is one byte of the file from
    // file offset file on.
    struct Run {
        size_t joined;
        size_t file;
    };
    std::string text_;
    std::vector<Run> runs_;
};

}  // namespace zorbinta
