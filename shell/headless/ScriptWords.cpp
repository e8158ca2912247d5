// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/headless/ScriptWords.h"

#include "catalogue/core/Win1251.h"

namespace zorbinta::headless {

std::string_view takeWord(std::string_view& text) {
    const size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    return word;
}

int numberAfter(std::string_view word, std::string_view prefix) {
    if (word.substr(0, prefix.size()) != prefix || word.size() == prefix.size()) return 0;
    int n = 0;
    for (const char c : word.substr(prefix.size())) {
        if (c < '0' || c > '9' || n > 1000) return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool takeCodePoint(std::string_view& text, char32_t& cp) {
    if (text.empty()) return false;
    size_t i = 0;
    cp = decodeUtf8(text, i);
    text.remove_prefix(i);
    return true;
}

}  // namespace zorbinta::headless
