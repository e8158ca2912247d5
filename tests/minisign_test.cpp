// SPDX-License-Identifier: GPL-3.0-or-later
// minisign's keys and signature files: every way a signature made here with
// libsodium can be damaged. (Files the real tool made are checked by the
// download and the catalogue tool's tests.)

#include <gtest/gtest.h>

#include <string>

#include "tests/MinisignTestKey.h"
#include "update/minisign/Minisign.h"

namespace zorbinta {
namespace {

using minisign::Outcome;
using testing::MinisignTestKey;

// Replaces the first `from` in text with `to`.
std::string edited(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string line(const std::string& file, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) at = file.find('\n', at) + 1;
    return file.substr(at, file.find('\n', at) - at);
}

// What the format allows and what it does not; the changes a forger would
// make (bytes, comment, key) are in the download's and the fuzz target's cases.
TEST(Minisign, TheFormatAsMinisignReadsIt) {
    const MinisignTestKey keepers;
    const auto key = minisign::parsePublicKey(keepers.publicLine());
    ASSERT_TRUE(key);
    const std::string bytes = "prov|1|Firm|" + std::string(300, 'x');
    const std::string good = keepers.sign(bytes, 1700000000);
    // The prehashed signature labelled as a legacy one ("ED" to "Ed").
    std::string raw(74, '\0');
    std::size_t size = 0;
    const std::string signatureLine = line(good, 1);
    ASSERT_EQ(sodium_base642bin(reinterpret_cast<unsigned char*>(raw.data()), raw.size(),
                                signatureLine.data(), signatureLine.size(), nullptr, &size, nullptr,
                                sodium_base64_VARIANT_ORIGINAL),
              0);
    raw[1] = 'd';
    const std::string relabelled = edited(good, signatureLine, testing::base64(raw));
    std::string crlf;
    for (const char c : good) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const struct {
        const char* name;
        std::string data;
        std::string signature;
        Outcome outcome;
    } cases[] = {
        {"prehashed", bytes, good, Outcome::Valid},
        {"CR LF lines", bytes, crlf, Outcome::Valid},
        {"untrusted comment changed", bytes, edited(good, "a test key", "anyone"), Outcome::Valid},
        {"algorithm changed", bytes, relabelled, Outcome::NotTheBytes},
        {"three lines", bytes, good.substr(0, good.rfind('\n', good.size() - 2)),
         Outcome::Malformed},
        {"no untrusted comment", bytes, good.substr(good.find('\n') + 1), Outcome::Malformed},
        {"not a trusted comment", bytes, edited(good, "trusted comment: ", "comment: "),
         Outcome::Malformed},
        {"signature too short", bytes, edited(good, line(good, 1), line(good, 1).substr(4)),
         Outcome::Malformed},
        {"global signature not base64", bytes, edited(good, line(good, 3), "!!!!"),
         Outcome::Malformed},
        {"NUL in the comment", bytes, edited(good, "file:", std::string("f\0le:", 5)),
         Outcome::Malformed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(minisign::verify(*key, c.data, c.signature).outcome, c.outcome);
    }
}

TEST(Minisign, KeysAndTimestamps) {
    const MinisignTestKey keepers;
    EXPECT_TRUE(minisign::parsePublicKey(keepers.publicLine()));
    EXPECT_TRUE(minisign::parsePublicKey(" " + keepers.publicLine() + "\n"));
    EXPECT_TRUE(minisign::parsePublicKey(keepers.publicFile()));
    for (const std::string& bad :
         {std::string(), std::string("RWnotakey"), keepers.publicLine().substr(4),
          keepers.publicLine() + "AAAA", "comment\n" + keepers.publicLine(),
          // A signature line is no key.
          line(keepers.sign("x", 1), 1)}) {
        EXPECT_FALSE(minisign::parsePublicKey(bad)) << bad;
    }
    EXPECT_FALSE(minisign::checkerFor("RWnotakey"));

    const struct {
        const char* comment;
        std::optional<std::uint64_t> timestamp;
    } stamps[] = {
        {"timestamp:1700000000\tfile:base.db\thashed", 1700000000},
        {"timestamp:18446744073709551615", UINT64_MAX},
        {"timestamp:18446744073709551616", std::nullopt},
        {"timestamp:", std::nullopt},
        {"timestamp: 5", std::nullopt},
        {"file:base.db\ttimestamp:5", std::nullopt},
        {"release 2024", std::nullopt},
    };
    for (const auto& s : stamps) {
        EXPECT_EQ(minisign::timestampOf(s.comment), s.timestamp) << s.comment;
    }
}

}  // namespace
}  // namespace zorbinta
