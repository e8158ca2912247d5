// SPDX-License-Identifier: GPL-3.0-or-later
#include "router/core/PageParts.h"

#include <algorithm>

#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"

namespace zorbinta {

int providerRowOf(const Catalogue& catalogue, double id) {
    int found = 0;
    for (int p = 1; p <= std::min(catalogue.ProviderCount, kMaxRows); ++p) {
        if (catalogue.number(ProviderTable, slot::ProviderId, p) == id) found = p;
    }
    return found;
}

std::string providerAddressOf(const Catalogue& catalogue, double id) {
    const int row = providerRowOf(catalogue, id);
    return row > 0 ? catalogue.text(ProviderTable, slot::WebAddress, row) : std::string();
}

std::string providerCardName(const Catalogue& catalogue, int row) {
    std::string shown = catalogue.text(ProviderTable, slot::WebAddress, row);
    if (shown.empty()) shown = catalogue.text(ProviderTable, slot::FirmName, row);
    if (shown.empty())
        shown = "№ " + formatGeneral(catalogue.number(ProviderTable, slot::ProviderId, row));
    return shown;
}

std::string providerCardLink(const Catalogue& catalogue, int row) {
    return R"(<a class="menu" href="provid=)" +
           formatGeneral(catalogue.number(ProviderTable, slot::ProviderId, row)) + R"(">)" +
           providerCardName(catalogue, row) + "</a>";
}

std::string planProviderCell(const Catalogue& catalogue, double providerId,
                             const std::string& fallback) {
    const int row = providerRowOf(catalogue, providerId);
    return row > 0 ? providerCardLink(catalogue, row) : fallback;
}

std::string shownDate(const std::string& date) {
    const std::string bytes = toCp1251(date);
    auto chars = [&bytes](size_t first, size_t count) {
        if (first > bytes.size()) return std::string();
        return fromCp1251(std::string_view(bytes).substr(first - 1, count));
    };
    return chars(9, 2) + "." + chars(6, 2) + "." + chars(1, 4);
}

std::string planValueText(double value) {
    return value == kUnlimited ? std::string("неогр.") : formatGeneral(value);
}

std::string htmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

std::string listHead(const std::vector<const char*>& captions) {
    std::string row = R"(<tr bgcolor=")" + std::string(kRowColourB) + R"(">)";
    for (const char* caption : captions) {
        row += "<td>";
        row += caption;
        row += "</td>";
    }
    return row + "</tr>";
}

std::string listRow(RowColour& colour, const std::vector<std::string>& cells) {
    std::string row = R"(<tr bgcolor=")" + colour.toggle() + R"(">)";
    for (const std::string& cell : cells) {
        row += "<td>";
        row += cell;
        row += "</td>";
    }
    return row + "</tr>";
}

}  // namespace zorbinta
