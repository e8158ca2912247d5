// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: a program folder with the shipped templates
// and sample catalogue, a browser pane that keeps only its last page, and
// checks that stop the run with a message when a property breaks.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "catalogue/core/Win1251.h"
#include "pages/core/BrowserPane.h"

#include "tests/FakePlatform.h"

namespace zorbinta::fuzz {

// A broken property is a finding: libFuzzer saves the input that caused it.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void check(bool ok, const std::string& what) {
    if (!ok) fail(what);
}

inline bool validUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            if (!isUtf8Continuation(s[i + k])) return false;
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// The installed program's files in a fresh folder: templates and the sample
// catalogue, as the build lays them beside the binaries.
class SampleProgram {
public:
    SampleProgram() {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() / ("zorbinta-fuzz-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const fs::path source(ZORBINTA_SOURCE_DIR);
        fs::copy(source / "templ", dir_ / "templ", fs::copy_options::recursive);
        fs::copy_file(source / "data" / "base.db", dir_ / "base.db");
        // An earlier catalogue for the changes page: one provider and one plan
        // of the sample with other values, one provider that has gone since.
        std::ofstream(dir_ / "base.db.prev", std::ios::binary)
            << "prov|1|Old firm|Addr|495|111|||||old.example|m@old.example|2003-01-01|Info|"
               "1|0|0|0|0|0|0|0|0|0|prov|999|Gone|Addr|||||||gone.example|m@gone.example|"
               "2003-02-02||0|0|0|0|0|0|0|0|0|0|vs|Plan|101|1|10|100|1|1|1|2,5|1|0|"
               "1|1|1|1|1|1|1|1|1|1|1|1|1|1|1|dom|.ru|0|1|99|98|0|";
    }
    ~SampleProgram() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    SampleProgram(const SampleProgram&) = delete;
    SampleProgram& operator=(const SampleProgram&) = delete;

    std::string programDir() const { return dir_.string() + "/"; }

private:
    std::filesystem::path dir_;
};

// One folder per run, removed as the run ends.
inline const SampleProgram& sampleProgram() {
    static const SampleProgram program;
    return program;
}

// Navigations complete at once; every written page is checked and kept
// until the target clears them.
struct CheckingPane : testing::ImmediatePane {
    CheckingPane() {
        keepPages = true;
        onWrite = [](const std::string& page) {
            check(validUtf8(page), "a page is not valid UTF-8");
        };
    }
};

}  // namespace zorbinta::fuzz
