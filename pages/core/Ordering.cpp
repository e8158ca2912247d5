// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/core/Ordering.h"

#include <algorithm>
#include <vector>

#include "catalogue/core/Win1251.h"

namespace zorbinta {
namespace {

// Keys at or above this mark (and NaN) are left out of the ordering proper;
// they follow all others in row order, so every row still appears once.
constexpr double kNumberMark = 999999.0;

int clampedCount(int n) {
    return std::min(n, kMaxRows);
}

}  // namespace

void OrderByNumber(Catalogue& catalogue, int table, int slot, int n) {
    n = clampedCount(n);
    if (n <= 0) return;
    std::vector<double> keys(static_cast<size_t>(n) + 1);
    std::vector<int> rows;
    std::vector<int> rest;
    rows.reserve(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) {
        keys[r] = catalogue.number(table, slot, r);
        (keys[r] < kNumberMark ? rows : rest).push_back(r);
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    rows.insert(rows.end(), rest.begin(), rest.end());
    std::copy(rows.begin(), rows.end(), catalogue.OrderIndex.begin() + 1);
}

void OrderByText(Catalogue& catalogue, int table, int slot, int n) {
    n = clampedCount(n);
    if (n <= 0) return;
    // Windows-1251 bytes compare as unsigned chars in std::string.
    std::vector<std::string> keys(static_cast<size_t>(n) + 1);
    std::vector<int> rows;
    std::vector<int> rest;
    rows.reserve(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r) {
        keys[r] = toCp1251(catalogue.text(table, slot, r));
        (keys[r].empty() ? rest : rows).push_back(r);
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return keys[a] > keys[b]; });
    rows.insert(rows.end(), rest.begin(), rest.end());
    std::copy(rows.begin(), rows.end(), catalogue.OrderIndex.begin() + 1);
}

}  // namespace zorbinta
