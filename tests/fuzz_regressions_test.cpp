// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs the fuzz targets (fuzz/) found faults with, kept as regressions:
// each case is the smallest input that showed the fault.

#include <gtest/gtest.h>

#include <string>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Win1251.h"
#include "update/core/Settings.h"

namespace zorbinta {
namespace {

class NoOffer final : public NewVersionOffer {
public:
    void OfferNewVersion(const std::string&, const std::string&) override {}
};

bool validUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : 3;
        if (isUtf8Continuation(s[i]) || b >= 0xF8) return false;
        if (extra > 0 && i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if (!isUtf8Continuation(s[i + k])) return false;
        }
        i += extra + 1;
    }
    return true;
}

// Loads Windows-1251 bytes into a fresh catalogue.
struct Loaded {
    explicit Loaded(const std::string& bytes) { loader.loadBytes(bytes); }
    Catalogue catalogue;
    NoOffer offer;
    CatalogueLoader loader{catalogue, ProgramFiles("/nonexistent/"), offer};
};

std::string flags(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "0|";
    return out;
}

// The separator after a tag is one character of the file whatever it is; a
// letter there (two bytes once decoded) must not leave half of itself in
// the first field.
TEST(FuzzRegressions, NonAsciiSeparatorAfterTagIsRemovedWhole) {
    const struct {
        std::string bytes;
        int table;
        std::string firstText;
    } cases[] = {
        {"vs\xC1|1|0|1|1|0|1|0|0|0|1|" + flags(15), PlanTable, ""},
        {"vs\xC1Name|1|0|1|1|0|1|0|0|0|1|" + flags(15), PlanTable, "Name"},
        {"free\x98www.f.ru|a|s|c|1|2|", FreeHostTable, "www.f.ru"},
        {"dom\xFF.ru|0|1|10|12|1|", DomainTable, ".ru"},
    };
    for (const auto& c : cases) {
        Loaded loaded(c.bytes);
        const std::string& text = loaded.catalogue.text(c.table, 1, 1);
        EXPECT_TRUE(validUtf8(text)) << c.bytes;
        EXPECT_EQ(text, c.firstText) << c.bytes;
        EXPECT_EQ(loaded.catalogue.rowCount(c.table), 1) << c.bytes;
    }
}

}  // namespace
}  // namespace zorbinta
