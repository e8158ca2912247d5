// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pages are head + body + tail, the head and tail read afresh from the
// templates for every page, and written straight into the pane's document.

#include <string>
#include <string_view>

#include "pages/core/BrowserPane.h"

namespace zorbinta {

class MessageBox;

enum class Wait { No, AndFocus };
enum class TemplateRewrite { ImagesOnly, ImagesAndStyles };

// templ/top.htm with "ris/" and "stl" rewritten; templ/bottom.htm with "ris/"
// only. Lines are joined with nothing between them. Throws "File not found"
// and the other I/O texts.
std::string LoadPageHead(const std::string& programDir);
std::string LoadPageTail(const std::string& programDir);
// The head, the body and the tail; the head is read first, so that its error
// is the one raised when both templates are missing.
std::string framedPage(const std::string& programDir, const std::string& body);
// One template line as both readers rewrite it.
std::string rewriteTemplateLine(std::string_view line, std::string_view programDir,
                                TemplateRewrite rewrite);

void ShowPage(BrowserPane& pane, const std::string& page);

// "file://" + programDir + "templ/main.htm?" + command; programDir ends in "/".
std::string commandUrl(const std::string& programDir, const std::string& command);
void NavigateToCommand(BrowserPane& pane, const std::string& programDir, const std::string& command,
                       Wait wait);

// Writes the document's source in Windows-1251; an existing file is replaced.
// Returns the name it wrote to; empty when nothing was saved (and the user was
// told why).
std::string SaveHTMLSourceToFile(BrowserPane& pane, MessageBox& messages,
                                 const std::string& fileName);

std::string CapitalizeWords(std::string_view text);

}  // namespace zorbinta
