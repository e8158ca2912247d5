// SPDX-License-Identifier: GPL-3.0-or-later
// Signed catalogues against a local server: signatures made by the real
// minisign tool (tests/data/minisign) and by libsodium at test time, the
// refusals and what they leave, and HTTPS with a certificate authority of the
// test's own.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <map>
#include <set>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "tests/FakePlatform.h"
#include "tests/LocalHttpServer.h"
#include "tests/MinisignTestKey.h"
#include "tests/Recording.h"
#include "tests/SampleCatalogue.h"
#include "tests/TestCertificates.h"
#include "update/core/Settings.h"
#include "update/core/UpdateDialog.h"
#include "update/minisign/Minisign.h"
#include "update/qt/QtHttpClient.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;
using testing::minisignData;
using testing::MinisignTestKey;
using testsupport::LocalHttpServer;
using testsupport::serveFiles;
using testsupport::TestCertificates;

// A program folder with a catalogue in use (and maybe its signature), and
// the download dialog of a program built with a key, or without one.
class Program {
public:
    Program(const std::string& inUse, const std::optional<std::string>& kept,
            std::unique_ptr<SignatureChecker> key)
        : inUse_(inUse), kept_(kept), key_(std::move(key)) {
        folder.write("templ/config.txt", "1");
        writeFileBytes(folder.path("base.db"), inUse);
        if (kept) writeFileBytes(folder.path("base.db.minisig"), *kept);
        loader.CatalogueLoad();
        providersBefore_ = catalogue.ProviderCount;
        filesBefore_ = files();
    }
    void download(const std::string& url) {
        dialog = std::make_unique<UpdateDialog>(
            catalogue, loader, http, messages, dialogs, ProgramFiles(folder.path()), url, [] {},
            key_.get());
        runGuarded(messages, [&] { dialog->Button1Click(); });
    }
    void forgetKey() { key_.reset(); }
    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    // The refusal's guarantees: the catalogue and its signature byte for
    // byte, the tables, the dialog open, nothing else in the folder.
    void expectNothingChanged() const {
        EXPECT_EQ(folder.read("base.db"), inUse_);
        if (kept_) {
            EXPECT_EQ(folder.read("base.db.minisig"), *kept_);
        }
        EXPECT_EQ(catalogue.ProviderCount, providersBefore_);
        EXPECT_TRUE(dialogs.closed.empty());
        EXPECT_EQ(files(), filesBefore_);
    }

    testing::ProgramFolder folder;
    testing::RecordingMessages messages;
    testing::RecordingDialogs dialogs;
    testing::RecordingLinks links;
    Catalogue catalogue;
    NewVersionPrompt prompt{dialogs, links, ProgramFiles(folder.path())};
    CatalogueLoader loader{catalogue, ProgramFiles(folder.path()), prompt};
    QtHttpClient http{{TestCertificates::get().authority}};
    std::unique_ptr<UpdateDialog> dialog;

private:
    std::string inUse_;
    std::optional<std::string> kept_;
    std::unique_ptr<SignatureChecker> key_;
    int providersBefore_ = 0;
    std::set<std::string> filesBefore_;
};

std::unique_ptr<SignatureChecker> toolKey() {
    return minisign::checkerFor(minisignData("test.pub"));
}

const std::string kCatalogue = minisignData("catalogue.db");
const std::string kOlder = minisignData("older.db");
const std::string kSigned = minisignData("catalogue.db.minisig");

std::string withByteChanged(std::string text, std::size_t at) {
    text[at] = static_cast<char>(text[at] ^ 0x01);
    return text;
}

std::string withNewerComment(std::string signature) {
    const std::size_t at = signature.find("timestamp:") + 10;
    signature[at] = signature[at] == '9' ? '8' : '9';
    return signature;
}

TEST(SignedDownload, SignaturesByTheMinisignTool) {
    const struct {
        const char* name;
        std::string inUse;
        std::optional<std::string> kept;
        std::map<std::string, std::string> served;
        const char* shown;  // nothing: the catalogue is taken
    } cases[] = {
        {"prehashed",
         kOlder,
         {},
         {{"/base.db", kCatalogue}, {"/base.db.minisig", kSigned}},
         nullptr},
        {"legacy",
         kOlder,
         minisignData("older.db.minisig"),
         {{"/base.db", kCatalogue},
          {"/base.db.minisig", minisignData("catalogue.db.legacy.minisig")}},
         nullptr},
        {"no signature", kOlder, {}, {{"/base.db", kCatalogue}}, kSignatureMessage},
        {"one byte changed",
         kOlder,
         {},
         {{"/base.db", withByteChanged(kCatalogue, 700)}, {"/base.db.minisig", kSigned}},
         kSignatureMessage},
        {"trusted comment changed",
         kOlder,
         {},
         {{"/base.db", kCatalogue}, {"/base.db.minisig", withNewerComment(kSigned)}},
         kSignatureMessage},
        {"another key",
         kOlder,
         {},
         {{"/base.db", kCatalogue},
          {"/base.db.minisig", minisignData("catalogue.db.other-key.minisig")}},
         kSignatureMessage},
        {"no timestamp",
         kOlder,
         {},
         {{"/base.db", kCatalogue},
          {"/base.db.minisig", minisignData("catalogue.db.no-timestamp.minisig")}},
         kSignatureMessage},
        {"garbage",
         kOlder,
         {},
         {{"/base.db", kCatalogue}, {"/base.db.minisig", std::string(300, '\x9c') + "\n\n\n"}},
         kSignatureMessage},
        {"20 MB",
         kOlder,
         {},
         {{"/base.db", kCatalogue}, {"/base.db.minisig", kSigned + std::string(20 << 20, 'A')}},
         kSignatureMessage},
        {"replay of an older one",
         kCatalogue,
         kSigned,
         {{"/base.db", kOlder}, {"/base.db.minisig", minisignData("older.db.minisig")}},
         kOlderCatalogueMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program program(c.inUse, c.kept, toolKey());
        LocalHttpServer server(serveFiles(c.served));
        program.download(server.url());
        if (c.shown == nullptr) {
            EXPECT_TRUE(program.messages.shown.empty()) << program.messages.shown.front();
            EXPECT_EQ(program.folder.read("base.db"), kCatalogue);
            EXPECT_EQ(program.folder.read("base.db.minisig"), c.served.at("/base.db.minisig"));
            EXPECT_EQ(program.dialogs.closed, std::vector<DialogId>{DialogId::Update});
            EXPECT_EQ(program.catalogue.ProviderCount, 3);
        } else {
            EXPECT_EQ(program.messages.shown, std::vector<std::string>{c.shown});
            program.expectNothingChanged();
        }
        std::vector<std::string> paths;
        for (const auto& r : server.requests()) paths.push_back(r.path);
        EXPECT_EQ(paths, (std::vector<std::string>{"/base.db", "/base.db", "/base.db.minisig"}));
    }
}

// Keys and signatures made here: what the kept signature holds back, and a
// program without a key.
TEST(SignedDownload, TheKeptSignatureAndProgramsWithoutAKey) {
    const MinisignTestKey keepers;
    const std::string first = testing::makeCatalogue(4, 4), second = testing::makeCatalogue(6, 6);
    const std::string firstSigned = keepers.sign(first, 2000);
    auto keepersKey = [&] { return minisign::checkerFor(keepers.publicLine()); };

    // The same catalogue again (the same time) is no replay.
    Program program(first, firstSigned, keepersKey());
    LocalHttpServer server(serveFiles({{"/base.db", first}, {"/base.db.minisig", firstSigned}}));
    program.download(server.url());
    EXPECT_TRUE(program.messages.shown.empty());
    EXPECT_EQ(program.dialogs.closed.size(), 1u);

    // A kept signature that no longer signs base.db holds nothing back.
    writeFileBytes(program.folder.path("base.db"), second);
    const std::string older = keepers.sign(first, 1000, MinisignTestKey::Mode::Legacy);
    server.setHandler(serveFiles({{"/base.db", first}, {"/base.db.minisig", older}}));
    program.download(server.url());
    EXPECT_TRUE(program.messages.shown.empty());
    EXPECT_EQ(program.folder.read("base.db.minisig"), older);

    // Without a key nothing is asked for, and the kept signature goes with
    // the catalogue it signed.
    program.forgetKey();
    server.setHandler(serveFiles({{"/base.db", second}}));
    const std::size_t asked = server.requests().size();
    program.download(server.url());
    EXPECT_TRUE(program.messages.shown.empty());
    EXPECT_EQ(program.folder.read("base.db"), second);
    EXPECT_FALSE(fs::exists(program.folder.path("base.db.minisig")));
    EXPECT_EQ(server.requests().size(), asked + 2);
    EXPECT_EQ(server.requests().back().path, "/base.db");
}

// "Отмена" while the signature is on its way: the dialog closes and nothing
// changes.
TEST(SignedDownload, CancelWhileTheSignatureComes) {
    Program program(kOlder, {}, toolKey());
    LocalHttpServer server(
        [&program](const testsupport::HttpRequest& request, testsupport::HttpPeer& peer) {
            if (request.path == "/base.db") {
                peer.write(testsupport::httpReply(200, kCatalogue));
                return;
            }
            QMetaObject::invokeMethod(
                qApp, [&program] { program.dialog->Button2Click(); }, Qt::QueuedConnection);
            peer.waitForClose();
        });
    program.download(server.url());
    EXPECT_TRUE(program.messages.shown.empty());
    EXPECT_EQ(program.dialogs.closed, std::vector<DialogId>{DialogId::Update});
    program.dialogs.closed.clear();
    program.expectNothingChanged();
}

// HTTPS: the certificate must come from an authority the client trusts and
// name the server; anything else refuses the download and changes nothing.
TEST(SignedDownload, HttpsNeedsATrustedCertificateForTheHost) {
    const TestCertificates& certificates = TestCertificates::get();
    const struct {
        const char* name;
        const testsupport::TlsIdentity* identity;
        bool taken;
    } cases[] = {
        {"trusted", &certificates.localhost, true},
        {"self-signed", &certificates.selfSigned, false},
        {"another host's", &certificates.otherHost, false},
    };
    const std::string next = testing::makeCatalogue(5, 5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program program(kOlder, {}, nullptr);
        LocalHttpServer server(serveFiles({{"/base.db", next}}), *c.identity, "localhost");
        program.download(server.url());
        if (c.taken) {
            EXPECT_TRUE(program.messages.shown.empty()) << program.messages.shown.front();
            EXPECT_EQ(program.folder.read("base.db"), next);
        } else {
            EXPECT_EQ(program.messages.shown, std::vector<std::string>{kSecureConnectionMessage});
            program.expectNothingChanged();
            EXPECT_TRUE(server.requests().empty());
        }
    }
}

}  // namespace
}  // namespace zorbinta
