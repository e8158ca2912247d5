// SPDX-License-Identifier: GPL-3.0-or-later
// The template rewriting on arbitrary template files and program folders:
// every "ris/" (and in the head every "stl") of the template's own text is
// replaced exactly once, unless the line starts with it, and nothing the
// replacement inserts is looked at again.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "fuzz/FuzzSupport.h"
#include "pages/core/PageOutput.h"

namespace {

using namespace zorbinta;
using fuzz::check;

constexpr std::string_view kImage = "ris/";
constexpr std::string_view kStyle = "stl";

bool rewrites(std::string_view line, std::string_view ref) {
    const size_t at = line.find(ref);
    return at != std::string_view::npos && at > 0;
}

size_t occurrences(std::string_view line, std::string_view ref) {
    size_t n = 0;
    for (size_t at = line.find(ref); at != std::string_view::npos;
         at = line.find(ref, at + ref.size()))
        ++n;
    return n;
}

// Walks the template line and the result side by side: each reference that
// is rewritten must stand in the result as its replacement, every other
// byte as itself, and nothing may be left over.
void checkLine(std::string_view line, std::string_view dir, TemplateRewrite mode) {
    const std::string out = rewriteTemplateLine(line, dir, mode);
    const bool images = rewrites(line, kImage);
    const bool styles = mode == TemplateRewrite::ImagesAndStyles && rewrites(line, kStyle);
    const std::string imageText = std::string(dir) + "image\\";
    const std::string styleText = std::string(dir) + "style";
    size_t expected = line.size();
    if (images) expected += occurrences(line, kImage) * (imageText.size() - kImage.size());
    if (styles) expected += occurrences(line, kStyle) * (styleText.size() - kStyle.size());
    check(out.size() == expected, "rewritten line has the wrong length");

    size_t o = 0;
    for (size_t i = 0; i < line.size();) {
        const std::string_view rest = line.substr(i);
        if (images && rest.starts_with(kImage)) {
            check(std::string_view(out).substr(o, imageText.size()) == imageText,
                  "image path not rewritten");
            o += imageText.size();
            i += kImage.size();
        } else if (styles && rest.starts_with(kStyle)) {
            check(std::string_view(out).substr(o, styleText.size()) == styleText,
                  "style path not rewritten");
            o += styleText.size();
            i += kStyle.size();
        } else {
            check(o < out.size() && out[o] == line[i], "template text changed");
            ++o;
            ++i;
        }
    }
    check(o == out.size(), "rewritten line has text left over");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string dir = in.ConsumeRandomLengthString(256);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    // As the readers take a template: decoded, then split into lines.
    const std::string text = fromCp1251(bytes);
    for (const std::string& line : splitLines(text)) {
        checkLine(line, dir, TemplateRewrite::ImagesAndStyles);
        checkLine(line, dir, TemplateRewrite::ImagesOnly);
    }
    // And the raw bytes as one line, whatever they hold.
    checkLine(bytes, dir, TemplateRewrite::ImagesAndStyles);
    return 0;
}
