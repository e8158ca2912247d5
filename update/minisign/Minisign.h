// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// minisign's public keys and signature files, checked with libsodium: the
// format the catalogue keepers' `minisign -S` writes and `minisign -V` reads.
//
//   public key      base64("Ed" || key id[8] || Ed25519 key[32]); a .pub file
//                   has an "untrusted comment: ..." line before it
//   signature file  untrusted comment: ...
//                   base64(algorithm[2] || key id[8] || signature[64])
//                   trusted comment: TEXT
//                   base64(global signature[64])
//
// Algorithm "ED" (minisign's default) signs the BLAKE2b-512 hash of the
// file, "Ed" (legacy, -l) the file itself. The global signature signs
// signature || TEXT, so the trusted comment cannot be changed either.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "update/core/SignatureCheck.h"

namespace zorbinta::minisign {

using KeyId = std::array<unsigned char, 8>;

struct PublicKey {
    KeyId keyId{};
    std::array<unsigned char, 32> key{};
};

// The key's base64 line, or the text of a .pub file; nothing for anything else.
std::optional<PublicKey> parsePublicKey(std::string_view text);

enum class Algorithm { Legacy, Prehashed };

struct Signature {
    Algorithm algorithm = Algorithm::Prehashed;
    KeyId keyId{};
    std::array<unsigned char, 64> signature{};
    std::string trustedComment;
    std::array<unsigned char, 64> globalSignature{};
};

// The four lines of a signature file (CR LF endings too; what follows them
// is not read, as minisign does not). Nothing when they are not well formed.
std::optional<Signature> parseSignature(std::string_view file);

enum class Outcome {
    Valid,
    Malformed,     // not a minisign signature file
    OtherKey,      // made with another key
    NotTheBytes,   // the signature does not match the file
    NotTheComment  // the trusted comment was changed
};

struct Check {
    Outcome outcome = Outcome::Malformed;
    std::string trustedComment;  // once the signature is valid
};

Check verify(const PublicKey& key, std::string_view bytes, std::string_view signatureFile);

// A short English sentence for the outcome, for the keepers' tool.
const char* describe(Outcome outcome);

// N of a trusted comment whose first tab-separated field is "timestamp:N",
// as minisign writes it ("timestamp:N<TAB>file:NAME[<TAB>hashed]").
std::optional<std::uint64_t> timestampOf(std::string_view trustedComment);

class MinisignChecker final : public SignatureChecker {
public:
    explicit MinisignChecker(const PublicKey& key) : key_(key) {}
    SignatureVerdict check(std::string_view bytes, std::string_view signatureFile) const override;

private:
    PublicKey key_;
};

// A checker for a key given as text (see parsePublicKey); nothing when the
// text is not a key.
std::unique_ptr<SignatureChecker> checkerFor(std::string_view keyText);

// The keepers' key the program was built with (ZORBINTA_CATALOGUE_KEY);
// nothing when it was built without one.
std::unique_ptr<SignatureChecker> builtInChecker();

}  // namespace zorbinta::minisign
