// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check a signed catalogue passes before it replaces base.db. The core
// only asks; the cryptography lives outside it (update/minisign).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorbinta {

// A signature file is a few lines of text; anything longer is refused while
// it is still coming in.
inline constexpr std::size_t kMaxSignatureBytes = 64 * 1024;

struct SignatureVerdict {
    bool valid = false;
    // The signed time of a valid signature, when its trusted comment has one.
    std::optional<std::uint64_t> timestamp;
};

class SignatureChecker {
public:
    virtual ~SignatureChecker() = default;
    // signatureFile, as it was sent, checked over exactly bytes with the
    // catalogue keepers' key.
    virtual SignatureVerdict check(std::string_view bytes,
                                   std::string_view signatureFile) const = 0;
};

}  // namespace zorbinta
