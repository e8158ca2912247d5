// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/Paging.h"

#include <algorithm>

#include "catalogue/core/Numbers.h"

namespace zorbinta {

long long pageCount(long long count) {
    return (count + kPageSize - 1) / kPageSize;
}

PageRows pageRows(long long count, long long page) {
    if (page < 1) return {};
    return {kPageSize * (page - 1) + 1, std::min(kPageSize * page, count)};
}

std::string pageLinkRow(long long pages, const std::function<std::string(long long)>& href) {
    std::string row = "Страницы: ";
    for (long long n = 1; n <= pages; ++n) {
        row += R"(<a class="menu" href=")";
        row += href(n);
        row += R"(">)";
        row += formatInt(n);
        row += "</a> ";
    }
    return row;
}

}  // namespace zorbinta
