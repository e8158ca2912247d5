// SPDX-License-Identifier: GPL-3.0-or-later
// The signature check on what a server may send: any bytes as key, signature
// file and catalogue never break it; a signature made here over the fuzzed
// catalogue and trusted comment is valid with the comment's timestamp, and
// stops being valid when one bit of the catalogue or the comment changes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "tests/MinisignTestKey.h"
#include "update/minisign/Minisign.h"

namespace {

using namespace zorbinta;
using fuzz::check;
using minisign::Outcome;

// Arbitrary key text, signature file and catalogue.
void anyInput(FuzzedDataProvider& data) {
    const std::string keyText = data.ConsumeRandomLengthString(256);
    const std::string signature = data.ConsumeRandomLengthString(4096);
    const std::string bytes = data.ConsumeRemainingBytesAsString();
    const auto key = minisign::parsePublicKey(keyText);
    if (!key) {
        check(!minisign::checkerFor(keyText), "a checker for text that is no key");
        return;
    }
    const minisign::Check result = minisign::verify(*key, bytes, signature);
    const auto parsed = minisign::parseSignature(signature);
    check((result.outcome == Outcome::Malformed) == !parsed, "malformed and parsed disagree");
    if (result.outcome == Outcome::Valid) {
        check(parsed->keyId == key->keyId, "valid under another key id");
        check(result.trustedComment == parsed->trustedComment, "valid with another comment");
    }
    const SignatureVerdict verdict = minisign::MinisignChecker(*key).check(bytes, signature);
    check(verdict.valid == (result.outcome == Outcome::Valid), "checker and verify disagree");
    check(!verdict.timestamp || verdict.valid, "a timestamp without a valid signature");
}

// A signature by a fixed key over fuzzed bytes and comment, then one bit of
// either changed.
void signedInput(FuzzedDataProvider& data) {
    static const testing::MinisignTestKey keepers(7);
    static const auto key = minisign::parsePublicKey(keepers.publicLine());
    check(key.has_value(), "the test key does not parse");
    const auto mode = data.ConsumeBool() ? testing::MinisignTestKey::Mode::Legacy
                                         : testing::MinisignTestKey::Mode::Prehashed;
    std::string comment = data.ConsumeRandomLengthString(512);
    const std::size_t bit = data.ConsumeIntegral<std::size_t>();
    std::string bytes = data.ConsumeRemainingBytesAsString();
    // minisign writes a comment of one line, without NUL or a final CR.
    if (comment.find_first_of(std::string("\n\0", 2)) != std::string::npos ||
        (!comment.empty() && comment.back() == '\r')) {
        return;
    }
    const std::string signature = keepers.signWithComment(bytes, comment, mode);
    const minisign::Check good = minisign::verify(*key, bytes, signature);
    check(good.outcome == Outcome::Valid, "a good signature is refused");
    check(good.trustedComment == comment, "the comment is not the signed one");
    check(minisign::MinisignChecker(*key).check(bytes, signature).timestamp ==
              minisign::timestampOf(comment),
          "the checker's timestamp is not the comment's");

    if (!bytes.empty() && bit % 2 == 0) {
        bytes[(bit / 16) % bytes.size()] ^= static_cast<char>(1 << ((bit / 2) % 8));
        check(minisign::verify(*key, bytes, signature).outcome == Outcome::NotTheBytes,
              "a changed catalogue passes");
    } else if (!comment.empty() && bit % 2 == 1) {
        std::string changed = signature;
        const std::size_t at =
            changed.find("\ntrusted comment: ") + 18 + (bit / 16) % comment.size();
        changed[at] ^= static_cast<char>(1 << ((bit / 2) % 8));
        check(minisign::verify(*key, bytes, changed).outcome != Outcome::Valid,
              "a changed comment passes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    if (provider.ConsumeBool()) {
        signedInput(provider);
    } else {
        anyInput(provider);
    }
    return 0;
}
