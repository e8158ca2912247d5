// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Catalogue files made to measure for the download tests.

#include <cstddef>
#include <string>

namespace zorbinta::testing {

// A one-line catalogue (Windows-1251 bytes, ASCII here) with the given counts;
// the first provider's extra information pads it to padTo bytes.
inline std::string makeCatalogue(int providers, int plans, const std::string& version = {},
                                 std::size_t padTo = 0) {
    auto build = [&](const std::string& pad) {
        std::string text = version.empty() ? "" : "update|" + version + "|http://new/|";
        for (int p = 1; p <= providers; ++p) {
            text += "prov|" + std::to_string(p) + "|Firm" + std::to_string(p) +
                    "|Addr|1|2|3|4|5|6|www.p" + std::to_string(p) + ".ru|m@p.ru|01.01.2005|" +
                    (p == 1 ? pad : "") + "|";
            for (int f = 0; f < 10; ++f) text += "0|";
        }
        for (int v = 1; v <= plans; ++v) {
            text += "vs|Plan" + std::to_string(v) + "|" + std::to_string(v) + "|1|100|1000|5|5|1|" +
                    "10|1|0|";
            for (int f = 0; f < 15; ++f) text += "1|";
        }
        text += "free|www.free.ru|yes|php|none|50|1|";
        text += "dom|ru|0|1|600|600|1|";
        return text;
    };
    const std::string plain = build("");
    return plain.size() >= padTo ? plain : build(std::string(padTo - plain.size(), 'x'));
}

}  // namespace zorbinta::testing
