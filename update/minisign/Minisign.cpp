// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/minisign/Minisign.h"

#include <sodium.h>

#include <charconv>
#include <cstring>
#include <vector>

namespace zorbinta::minisign {
namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr std::string_view kTimestampPrefix = "timestamp:";

// Decodes base64 (with its padding) that must give exactly out.size() bytes.
template <std::size_t N>
bool decodeExactly(std::string_view text, std::array<unsigned char, N>& out) {
    std::size_t length = 0;
    return !text.empty() &&
           sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &length,
                             nullptr, sodium_base64_VARIANT_ORIGINAL) == 0 &&
           length == out.size();
}

// Up to `count` lines, each without its LF and a CR before it; the last may
// end at the end of the text.
std::vector<std::string_view> firstLines(std::string_view text, std::size_t count) {
    std::vector<std::string_view> lines;
    while (lines.size() < count && !text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void ensureSodium() {
    // Thread-safe and idempotent; it only fails on a system without a
    // random source, which checking does not need.
    static const int ready = sodium_init();
    (void)ready;
}

bool verifyEd25519(const std::array<unsigned char, 64>& signature, const unsigned char* message,
                   std::size_t size, const PublicKey& key) {
    return crypto_sign_verify_detached(signature.data(), message, size, key.key.data()) == 0;
}

}  // namespace

std::optional<PublicKey> parsePublicKey(std::string_view text) {
    text = trimmed(text);
    if (text.find('\n') != std::string_view::npos) {
        const std::vector<std::string_view> lines = firstLines(text, 2);
        if (lines.size() != 2 || !lines[0].starts_with(kUntrustedPrefix)) return std::nullopt;
        text = trimmed(lines[1]);
    }
    std::array<unsigned char, 2 + 8 + 32> raw{};
    if (!decodeExactly(text, raw) || raw[0] != 'E' || raw[1] != 'd') return std::nullopt;
    PublicKey key;
    std::memcpy(key.keyId.data(), raw.data() + 2, 8);
    std::memcpy(key.key.data(), raw.data() + 10, 32);
    return key;
}

std::optional<Signature> parseSignature(std::string_view file) {
    const std::vector<std::string_view> lines = firstLines(file, 4);
    if (lines.size() != 4 || !lines[0].starts_with(kUntrustedPrefix) ||
        !lines[2].starts_with(kTrustedPrefix)) {
        return std::nullopt;
    }
    Signature signature;
    std::array<unsigned char, 2 + 8 + 64> raw{};
    if (!decodeExactly(lines[1], raw) || raw[0] != 'E') return std::nullopt;
    if (raw[1] == 'd') {
        signature.algorithm = Algorithm::Legacy;
    } else if (raw[1] == 'D') {
        signature.algorithm = Algorithm::Prehashed;
    } else {
        return std::nullopt;
    }
    std::memcpy(signature.keyId.data(), raw.data() + 2, 8);
    std::memcpy(signature.signature.data(), raw.data() + 10, 64);

    // minisign reads the comment as a C string: a NUL would end it there.
    const std::string_view comment = lines[2].substr(kTrustedPrefix.size());
    if (comment.find('\0') != std::string_view::npos) return std::nullopt;
    signature.trustedComment = comment;

    if (!decodeExactly(lines[3], signature.globalSignature)) return std::nullopt;
    return signature;
}

Check verify(const PublicKey& key, std::string_view bytes, std::string_view signatureFile) {
    ensureSodium();
    Check check;
    const std::optional<Signature> signature = parseSignature(signatureFile);
    if (!signature) return check;
    if (signature->keyId != key.keyId) {
        check.outcome = Outcome::OtherKey;
        return check;
    }

    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    bool matches = false;
    if (signature->algorithm == Algorithm::Prehashed) {
        std::array<unsigned char, crypto_generichash_BYTES_MAX> hash{};
        crypto_generichash(hash.data(), hash.size(), data, bytes.size(), nullptr, 0);
        matches = verifyEd25519(signature->signature, hash.data(), hash.size(), key);
    } else {
        matches = verifyEd25519(signature->signature, data, bytes.size(), key);
    }
    if (!matches) {
        check.outcome = Outcome::NotTheBytes;
        return check;
    }

    std::string global(signature->signature.begin(), signature->signature.end());
    global += signature->trustedComment;
    if (!verifyEd25519(signature->globalSignature,
                       reinterpret_cast<const unsigned char*>(global.data()), global.size(), key)) {
        check.outcome = Outcome::NotTheComment;
        return check;
    }
    check.outcome = Outcome::Valid;
    check.trustedComment = signature->trustedComment;
    return check;
}

const char* describe(Outcome outcome) {
    switch (outcome) {
        case Outcome::Valid:
            return "valid signature";
        case Outcome::Malformed:
            return "not a minisign signature file";
        case Outcome::OtherKey:
            return "signed with another key";
        case Outcome::NotTheBytes:
            return "the signature does not match the file";
        case Outcome::NotTheComment:
            return "the trusted comment was changed after signing";
    }
    return "";
}

std::optional<std::uint64_t> timestampOf(std::string_view trustedComment) {
    const std::string_view field = trustedComment.substr(0, trustedComment.find('\t'));
    if (!field.starts_with(kTimestampPrefix)) return std::nullopt;
    // Digits only, to the end of the field, and no more than 64 bits hold.
    const std::string_view digits = field.substr(kTimestampPrefix.size());
    if (digits.size() > 20) return std::nullopt;  // nor leading zeros beyond that
    const char* end = digits.data() + digits.size();
    std::uint64_t value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

SignatureVerdict MinisignChecker::check(std::string_view bytes,
                                        std::string_view signatureFile) const {
    const Check result = verify(key_, bytes, signatureFile);
    SignatureVerdict verdict;
    verdict.valid = result.outcome == Outcome::Valid;
    if (verdict.valid) verdict.timestamp = timestampOf(result.trustedComment);
    return verdict;
}

std::unique_ptr<SignatureChecker> checkerFor(std::string_view keyText) {
    const std::optional<PublicKey> key = parsePublicKey(keyText);
    if (!key) return nullptr;
    return std::make_unique<MinisignChecker>(*key);
}

}  // namespace zorbinta::minisign
