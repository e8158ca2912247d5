// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/JoinedText.h"

#include <algorithm>

namespace zorbinta {

JoinedText::JoinedText(std::string_view bytes) {
    if (const size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) {
        bytes = bytes.substr(0, eof);
    }
    // Room for the longest result (every LF alone becoming "?*?"), so the
    // text is never moved, and held twice, while it grows.
    const auto lineFeeds = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    text_.reserve(bytes.size() + (kLineJoin.size() - 1) * lineFeeds);
    runs_.push_back({0, 0});
    // The next CR and LF at or after i, each searched for again only once
    // passed, so the whole scan stays linear.
    size_t nextCr = bytes.find('\r');
    size_t nextLf = bytes.find('\n');
    size_t i = 0;
    while (i < bytes.size()) {
        if (nextCr < i) nextCr = bytes.find('\r', i);
        if (nextLf < i) nextLf = bytes.find('\n', i);
        const size_t brk = std::min(nextCr, nextLf);
        if (brk == std::string_view::npos) {
            text_.append(bytes.substr(i));
            break;
        }
        text_.append(bytes.substr(i, brk - i));
        size_t next = brk + 1;
        const bool lineEnd = bytes[brk] == '\n' || (next < bytes.size() && bytes[next] == '\n');
        if (lineEnd) {
            if (bytes[brk] == '\r') ++next;
            // A terminator at the very end of the file starts no new line.
            if (next < bytes.size()) text_.append(kLineJoin);
        }
        // A CR on its own is dropped.
        runs_.push_back({text_.size(), next});
        i = next;
    }
}

size_t JoinedText::fileOffset(size_t joined) const {
    auto it = std::upper_bound(runs_.begin(), runs_.end(), joined,
                               [](size_t j, const Run& run) { return j < run.joined; });
    --it;  // runs_ starts at 0, so one run always precedes
    return it->file + (joined - it->joined);
}

}  // namespace zorbinta
