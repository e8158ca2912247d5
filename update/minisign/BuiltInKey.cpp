// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue keepers' public key, fixed at build time
// (-DZORBINTA_CATALOGUE_KEY=RW...). Kept in a file of its own so that a new
// key rebuilds only this file.

#include "update/minisign/Minisign.h"

#ifndef ZORBINTA_CATALOGUE_KEY
#define ZORBINTA_CATALOGUE_KEY ""
#endif

namespace zorbinta::minisign {
namespace {

class RefuseEverything final : public SignatureChecker {
public:
    SignatureVerdict check(std::string_view, std::string_view) const override { return {}; }
};

}  // namespace

std::unique_ptr<SignatureChecker> builtInChecker() {
    constexpr std::string_view key = ZORBINTA_CATALOGUE_KEY;
    if (key.empty()) return nullptr;
    // The build checked its form; a key that still does not decode must not
    // turn into "no key" and let unsigned catalogues in.
    std::unique_ptr<SignatureChecker> checker = checkerFor(key);
    if (!checker) return std::make_unique<RefuseEverything>();
    return checker;
}

}  // namespace zorbinta::minisign
