// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key pairs and signature files in minisign's format, made with libsodium at
// test time; tests/data/minisign holds files the real minisign tool made.

#include <sodium.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zorbinta::testing {

inline std::string base64(std::string_view bytes) {
    std::string out(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(out.data(), out.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                      bytes.size(), sodium_base64_VARIANT_ORIGINAL);
    out.pop_back();  // the terminating NUL
    return out;
}

inline std::string minisignData(const char* name) {
    std::ifstream in(std::string(ZORBINTA_SOURCE_DIR "/tests/data/minisign/") + name,
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MinisignTestKey {
public:
    enum class Mode { Prehashed, Legacy };

    MinisignTestKey() {
        if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
        crypto_sign_keypair(public_.data(), secret_.data());
        randombytes_buf(id_.data(), id_.size());
    }
    // The same key pair for the same seed, for runs that must repeat.
    explicit MinisignTestKey(unsigned char seed) {
        if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
        std::array<unsigned char, crypto_sign_SEEDBYTES> bytes{};
        bytes.fill(seed);
        crypto_sign_seed_keypair(public_.data(), secret_.data(), bytes.data());
        id_.fill(seed);
    }

    // The base64 line, as ZORBINTA_CATALOGUE_KEY and --key take it.
    std::string publicLine() const { return base64("Ed" + raw(id_) + raw(public_)); }
    std::string publicFile() const {
        return "untrusted comment: minisign public key\n" + publicLine() + "\n";
    }

    // A signature file over bytes, with minisign's trusted comment.
    std::string sign(std::string_view bytes, std::uint64_t timestamp,
                     Mode mode = Mode::Prehashed) const {
        return signWithComment(bytes,
                               "timestamp:" + std::to_string(timestamp) + "\tfile:base.db" +
                                   (mode == Mode::Prehashed ? "\thashed" : ""),
                               mode);
    }
    std::string signWithComment(std::string_view bytes, const std::string& trustedComment,
                                Mode mode = Mode::Prehashed) const {
        std::string message(bytes);
        if (mode == Mode::Prehashed) {
            std::array<unsigned char, crypto_generichash_BYTES_MAX> hash{};
            crypto_generichash(hash.data(), hash.size(),
                               reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                               nullptr, 0);
            message = raw(hash);
        }
        const std::string signature = detached(message);
        return "untrusted comment: signature from a test key\n" +
               base64((mode == Mode::Prehashed ? "ED" : "Ed") + raw(id_) + signature) +
               "\ntrusted comment: " + trustedComment + "\n" +
               base64(detached(signature + trustedComment)) + "\n";
    }

private:
    template <std::size_t N>
    static std::string raw(const std::array<unsigned char, N>& bytes) {
        return std::string(reinterpret_cast<const char*>(bytes.data()), N);
    }
    std::string detached(std::string_view message) const {
        std::array<unsigned char, crypto_sign_BYTES> signature{};
        crypto_sign_detached(signature.data(), nullptr,
                             reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                             secret_.data());
        return raw(signature);
    }

    std::array<unsigned char, crypto_sign_PUBLICKEYBYTES> public_{};
    std::array<unsigned char, crypto_sign_SECRETKEYBYTES> secret_{};
    std::array<unsigned char, 8> id_{};
};

}  // namespace zorbinta::testing
