// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The alternation of data-row colours shared by all pages of one router
// handling: the first coloured row is "#FFE6CC".

#include <string>

namespace zorbinta {

inline constexpr const char* kRowColourA = "#FFE6CC";
inline constexpr const char* kRowColourB = "#F4F4FF";

class RowColour {
public:
    const std::string& toggle() {
        value_ = value_ == kRowColourA ? kRowColourB : kRowColourA;
        return value_;
    }
    const std::string& value() const { return value_; }

private:
    std::string value_;
};

}  // namespace zorbinta
