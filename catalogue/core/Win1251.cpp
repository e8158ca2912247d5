// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/Win1251.h"

#include <array>

namespace zorbinta {
namespace {

constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

// UTF-8 encodings of the 128 upper bytes, built once.
struct HighUtf8 {
    std::array<char, 3> bytes[128];
    // Bytes each of the 256 takes in UTF-8 beyond the first.
    unsigned char extra[256] = {};
    HighUtf8() {
        for (int i = 0; i < 128; ++i) {
            const char16_t c = kHigh[i];
            if (c < 0x800) {
                bytes[i] = {static_cast<char>(0xC0 | (c >> 6)),
                            static_cast<char>(0x80 | (c & 0x3F)), 0};
                extra[0x80 + i] = 1;
            } else {
                bytes[i] = {static_cast<char>(0xE0 | (c >> 12)),
                            static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                            static_cast<char>(0x80 | (c & 0x3F))};
                extra[0x80 + i] = 2;
            }
        }
    }
};

const HighUtf8& highUtf8() {
    static const HighUtf8 table;
    return table;
}

}  // namespace

char32_t decodeUtf8(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + extra >= s.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        if (!isUtf8Continuation(s[i + k])) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    i += extra + 1;
    return cp;
}

std::string encodeUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}

void assignFromCp1251(std::string& out, std::string_view bytes) {
    const HighUtf8& high = highUtf8();
    size_t size = bytes.size();
    for (const char ch : bytes) size += high.extra[static_cast<unsigned char>(ch)];
    // Exactly the room the text needs when out has too little, and without
    // holding the old text meanwhile.
    if (size > out.capacity()) {
        std::string().swap(out);
        out.reserve(size);
    }
    out.resize(size);
    char* to = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            *to++ = ch;
            continue;
        }
        const std::array<char, 3>& utf8 = high.bytes[b - 0x80];
        to[0] = utf8[0];
        to[1] = utf8[1];
        if (high.extra[b] == 2) to[2] = utf8[2];
        to += high.extra[b] + 1;
    }
}

std::string fromCp1251(std::string_view bytes) {
    std::string out;
    assignFromCp1251(out, bytes);
    return out;
}

int cp1251ByteOf(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    // A direct table from the code points in use (U+0098 to U+2122).
    static const auto reverse = [] {
        std::array<short, 0x2200> table{};
        table.fill(-1);
        for (int i = 0; i < 128; ++i) table[kHigh[i]] = static_cast<short>(0x80 + i);
        return table;
    }();
    return cp < reverse.size() ? reverse[cp] : -1;
}

std::string toCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const int byte = cp1251ByteOf(decodeUtf8(utf8, i));
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return out;
}

int compareCp1251(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        int ba;
        int bb;
        if (ca < 0x80 && cb < 0x80) {
            ba = ca;
            bb = cb;
            ++i;
            ++j;
        } else {
            ba = cp1251ByteOf(decodeUtf8(a, i));
            bb = cp1251ByteOf(decodeUtf8(b, j));
            if (ba < 0) ba = '?';
            if (bb < 0) bb = '?';
        }
        if (ba != bb) return ba < bb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace zorbinta
