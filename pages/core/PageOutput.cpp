// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/PageOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "platform/core/Services.h"

namespace zorbinta {
namespace {

constexpr std::string_view kImageRef = "ris/";
constexpr std::string_view kStyleRef = "stl";

// A reference is rewritten only when the line does not start with it.
bool rewritesFrom(std::string_view line, std::string_view ref) {
    const auto first = line.find(ref);
    return first != std::string_view::npos && first > 0;
}

std::string loadTemplate(const std::string& path, std::string_view programDir,
                         TemplateRewrite rewrite) {
    const std::string text = fromCp1251(readFileBytes(path));
    std::string result;
    result.reserve(text.size() + 256);
    for (const std::string& line : splitLines(text)) {
        result += rewriteTemplateLine(line, programDir, rewrite);
    }
    return result;
}

}  // namespace

std::string rewriteTemplateLine(std::string_view line, std::string_view programDir,
                                TemplateRewrite rewrite) {
    const bool images = rewritesFrom(line, kImageRef);
    const bool styles =
        rewrite == TemplateRewrite::ImagesAndStyles && rewritesFrom(line, kStyleRef);
    if (!images && !styles) return std::string(line);

    // One pass over the template's own text, so that nothing a replacement
    // inserts is looked at again. The two references share no letters at
    // their joins, so they never overlap.
    std::string out;
    out.reserve(line.size() + 4 * (programDir.size() + 6));
    size_t i = 0;
    while (i < line.size()) {
        const std::string_view rest = line.substr(i);
        if (images && rest.starts_with(kImageRef)) {
            out += programDir;
            out += "image\\";
            i += kImageRef.size();
        } else if (styles && rest.starts_with(kStyleRef)) {
            out += programDir;
            out += "style";
            i += kStyleRef.size();
        } else {
            out.push_back(line[i]);
            ++i;
        }
    }
    return out;
}

std::string LoadPageHead(const std::string& programDir) {
    return loadTemplate(programDir + "templ/top.htm", programDir, TemplateRewrite::ImagesAndStyles);
}

std::string LoadPageTail(const std::string& programDir) {
    return loadTemplate(programDir + "templ/bottom.htm", programDir, TemplateRewrite::ImagesOnly);
}

std::string framedPage(const std::string& programDir, const std::string& body) {
    std::string page = LoadPageHead(programDir);
    const std::string tail = LoadPageTail(programDir);
    page += body;
    page += tail;
    return page;
}

void ShowPage(BrowserPane& pane, const std::string& page) {
    if (!pane.hasDocument()) pane.navigate("about:blank");
    while (!pane.hasDocument()) pane.processEvents();
    pane.writeDocument(page);
}

std::string commandUrl(const std::string& programDir, const std::string& command) {
    return "file://" + programDir + "templ/main.htm?" + command;
}

void NavigateToCommand(BrowserPane& pane, const std::string& programDir, const std::string& command,
                       Wait wait) {
    pane.navigate(commandUrl(programDir, command));
    if (wait != Wait::AndFocus) return;
    // The router runs inside this wait when the navigation completes.
    do {
        pane.processEvents();
    } while (!pane.isComplete());
    if (pane.hasDocument()) pane.focusDocument();
}

std::string SaveHTMLSourceToFile(BrowserPane& pane, MessageBox& messages,
                                 const std::string& fileName) {
    std::string source;
    if (!pane.documentSource(source)) {
        messages.showMessage("Fail to save HTML source", "Error");
        return {};
    }
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (file == nullptr) {
        throw Error("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    const std::string bytes = toCp1251(source);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        // What reached the disk stays there, as with any interrupted save.
        messages.showMessage("Fail to save HTML source", "Error");
        return {};
    }
    return fileName;
}

std::string CapitalizeWords(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    // Bytes of a multi-byte character are all above 0x7F: each sets the mark
    // just as the one character would.
    bool wordStart = true;
    for (char& c : out) {
        const bool small = c >= 'a' && c <= 'z';
        if (wordStart && small) {
            c = static_cast<char>(c - 'a' + 'A');
            wordStart = false;
        } else if (!small && c != '\'') {
            wordStart = true;
        }
    }
    return out;
}

}  // namespace zorbinta
