// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/Verify.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/Error.h"
#include "tools/catalogue/Files.h"
#include "update/minisign/Minisign.h"

namespace zorbinta::tool {
namespace {

constexpr int kValid = 0;
constexpr int kInvalid = 1;
constexpr int kUnreadable = 2;

// A .pub file is two short lines.
constexpr std::uintmax_t kMaxKeyFileBytes = 4096;

std::optional<minisign::PublicKey> readKey(const std::string& key) {
    if (auto parsed = minisign::parsePublicKey(key)) return parsed;
    std::error_code ec;
    if (!std::filesystem::exists(key, ec)) {
        throw Error(key + ": neither a minisign public key nor a file");
    }
    if (auto parsed = minisign::parsePublicKey(readBoundedFile(key, kMaxKeyFileBytes))) {
        return parsed;
    }
    throw Error(key + ": not a minisign public key file");
}

}  // namespace

int runVerify(const std::string& key, const std::string& file, const std::string& signature) {
    std::optional<minisign::PublicKey> publicKey;
    std::string bytes;
    try {
        publicKey = readKey(key);
        bytes = readBoundedFile(file, kMaxCatalogueBytes);
    } catch (const Error& e) {
        std::cerr << "zorbinta-catalogue: " << e.what() << '\n';
        return kUnreadable;
    }
    std::string signatureText;
    try {
        std::error_code ec;
        if (!std::filesystem::exists(signature, ec)) throw Error(signature + ": no such file");
        signatureText = readBoundedFile(signature, kMaxSignatureBytes);
    } catch (const Error& e) {
        // The program refuses a catalogue without a signature it can read.
        std::cout << file << ": no signature: " << e.what() << '\n';
        return kInvalid;
    }

    const minisign::Check check = minisign::verify(*publicKey, bytes, signatureText);
    if (check.outcome != minisign::Outcome::Valid) {
        std::cout << file << ": " << minisign::describe(check.outcome) << " (" << signature
                  << ")\n";
        return kInvalid;
    }
    if (!minisign::timestampOf(check.trustedComment)) {
        std::cout << file << ": valid signature, but its trusted comment has no "
                  << "\"timestamp:\"; the program refuses it: " << check.trustedComment << '\n';
        return kInvalid;
    }
    std::cout << file << ": valid signature; trusted comment: " << check.trustedComment << '\n';
    return kValid;
}

}  // namespace zorbinta::tool
