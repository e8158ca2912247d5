// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1251 at the file edges, UTF-8 everywhere inside the program.
// The undefined byte 0x98 maps to U+0098 so that all 256 bytes round-trip.

#include <string>
#include <string_view>

namespace zorbinta {

// Bytes in Windows-1251 to UTF-8.
std::string fromCp1251(std::string_view bytes);
// The same into out, which keeps its room when that is enough and otherwise
// gets exactly what the text needs; bytes must not lie inside out.
void assignFromCp1251(std::string& out, std::string_view bytes);

// UTF-8 to Windows-1251; characters the code page lacks (and broken UTF-8)
// become '?'.
std::string toCp1251(std::string_view utf8);

// The Windows-1251 byte of one code point, or -1 when the code page lacks it.
int cp1251ByteOf(char32_t codePoint);

// Whether a byte of UTF-8 continues a character (10xxxxxx) rather than
// starting one.
constexpr bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// One code point as UTF-8, and the code point at text[i] (advancing i past
// it; broken sequences give U+FFFD and advance one byte).
std::string encodeUtf8(char32_t codePoint);
char32_t decodeUtf8(std::string_view text, size_t& i);

// Three-way comparison of two UTF-8 texts by their Windows-1251 bytes, the
// order every text ordering of the program uses.
int compareCp1251(std::string_view a, std::string_view b);

}  // namespace zorbinta
