#pragma once
// What a search asks for, and the test a plan passes.

#include <array>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

struct SearchCriteria {
    std::array<double, 9> Bounds{};           // 1..8
    std::array<unsigned char, 16> Options{};  // 1..15
};

bool MatchesSearchCriteria(const Catalogue& catalogue, const SearchCriteria& criteria, int row);

}  // namespace zorbinta
