// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists shown a page at a time: fifteen rows a page, and under the list a row
// of links to every page.

#include <functional>
#include <string>

namespace zorbinta {

// The rows a page shows.
constexpr long long kPageSize = 15;

// The pages a list of count rows fills; none for an empty list.
long long pageCount(long long count);

// The rows page shows of a list of count rows, by 1-based position: first to
// last, none (last < first) for a page below 1 or past the end.
struct PageRows {
    long long first = 1;
    long long last = 0;
};
PageRows pageRows(long long count, long long page);

// "Страницы: " and a link to each of pages, "<a class="menu" href="H">N</a> "
// with H = href(N).
std::string pageLinkRow(long long pages, const std::function<std::string(long long)>& href);

}  // namespace zorbinta
