// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the words of a script line.

#include <string_view>

namespace zorbinta::headless {

// The first word of text and what follows the single space after it.
std::string_view takeWord(std::string_view& text);

// "Edit3" -> 3 for prefix "Edit"; 0 when the word is not of that form.
int numberAfter(std::string_view word, std::string_view prefix);

// One UTF-8 character from the front of text; false when text is empty.
bool takeCodePoint(std::string_view& text, char32_t& cp);

inline const char* onOff(bool on) {
    return on ? "on" : "off";
}

}  // namespace zorbinta::headless
