// SPDX-License-Identifier: GPL-3.0-or-later
// The download's bounds and what it keeps of the catalogue it replaces, with
// a scripted client: lengths a server may announce, bodies without end, the
// loader's refusal of a large base.db, and base.db.prev.

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "tests/FakePlatform.h"
#include "tests/Recording.h"
#include "tests/SampleCatalogue.h"
#include "update/core/Settings.h"
#include "update/core/UpdateDialog.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

using testing::makeCatalogue;
using testing::ScriptedHttp;

class DownloadBoundsTest : public ::testing::Test {
protected:
    DownloadBoundsTest() {
        folder.write("templ/config.txt", "1");
        writeFileBytes(folder.path("base.db"), kOld);
        loader.CatalogueLoad();
    }
    void press() {
        runGuarded(messages, [this] { dialog.Button1Click(); });
    }
    void expectNothingChanged() const {
        EXPECT_EQ(folder.read("base.db"), kOld);
        EXPECT_EQ(catalogue.ProviderCount, 2);
        EXPECT_FALSE(fs::exists(folder.path("base.db.part")));
        EXPECT_TRUE(dialogs.closed.empty());
    }

    const std::string kOld = makeCatalogue(2, 2);
    testing::ProgramFolder folder;
    testing::RecordingMessages messages;
    testing::RecordingDialogs dialogs;
    testing::RecordingLinks links;
    Catalogue catalogue;
    NewVersionPrompt prompt{dialogs, links, ProgramFiles(folder.path())};
    CatalogueLoader loader{catalogue, ProgramFiles(folder.path()), prompt};
    ScriptedHttp http;
    UpdateDialog dialog = UpdateDialog(catalogue, loader, http, messages, dialogs,
                                       ProgramFiles(folder.path()), "http://x", [] {});
};

TEST_F(DownloadBoundsTest, OversizedCataloguesAreRefusedAndChangeNothing) {
    const struct {
        const char* announced;
        bool streamsWithoutEnd;
        int downloads;
        std::string shown;
    } cases[] = {
        {"2000000000", false, 0, kTooLargeMessage},
        {"99999999999999", false, 0, kTooLargeMessage},
        {"33554433", false, 0, kTooLargeMessage},
        {"33554432", true, 1, kTooLargeMessage},  // the bound itself, then more
        {"1000", true, 1, kTooLargeMessage},      // a length that lies
        {"1e9", false, 0, "'1e9' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.announced);
        http = ScriptedHttp();
        http.announced = c.announced;
        if (c.streamsWithoutEnd) {
            http.endless = true;
        } else {
            http.body = makeCatalogue(5, 5);
        }
        messages.shown.clear();
        press();
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.shown});
        EXPECT_EQ(http.downloads, c.downloads);
        // Stopped at the first chunk past the bound.
        if (c.streamsWithoutEnd) {
            EXPECT_EQ(http.streamed, kMaxCatalogueBytes + 1024);
        }
        expectNothingChanged();
    }
    // The stop for size is not remembered: the next download goes through.
    http = ScriptedHttp();
    http.serve(makeCatalogue(5, 5));
    press();
    EXPECT_EQ(catalogue.ProviderCount, 5);
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
}

TEST_F(DownloadBoundsTest, LoaderRefusesALargeFileBeforeReadingIt) {
    // Sparse: a 2 GB base.db costs nothing to make, and nothing to refuse.
    for (const std::uintmax_t size : {kMaxCatalogueBytes + 1, std::uintmax_t{2000000000}}) {
        fs::resize_file(folder.path("base.db"), size);
        try {
            loader.CatalogueLoad();
            ADD_FAILURE() << "loaded " << size << " bytes";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Файл каталога слишком велик: размер в байтах — " +
                                                 std::to_string(size) +
                                                 ", допустимо не больше 33554432");
        }
        EXPECT_EQ(fs::file_size(folder.path("base.db")), size);
        EXPECT_EQ(catalogue.ProviderCount, 2);
        EXPECT_EQ(catalogue.text(ProviderTable, slot::FirmName, 1), "Firm1");
    }
    // A device without a size is not read past the bound either.
    fs::remove(folder.path("base.db"));
    fs::create_symlink("/dev/zero", folder.path("base.db"));
    EXPECT_THROW(loader.CatalogueLoad(), Error);
    EXPECT_EQ(catalogue.ProviderCount, 2);

    // A catalogue of exactly the bound loads.
    fs::remove(folder.path("base.db"));
    writeFileBytes(folder.path("base.db"), makeCatalogue(3, 3, {}, kMaxCatalogueBytes));
    ASSERT_EQ(fs::file_size(folder.path("base.db")), kMaxCatalogueBytes);
    loader.CatalogueLoad();
    EXPECT_EQ(catalogue.ProviderCount, 3);
}

TEST_F(DownloadBoundsTest, TheReplacedCatalogueIsKeptAsPrev) {
    const std::string first = makeCatalogue(4, 4), second = makeCatalogue(6, 6);
    auto download = [&](const std::string& body) {
        http.serve(body);
        press();
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
        EXPECT_EQ(folder.read("base.db"), body);
        EXPECT_FALSE(fs::exists(folder.path("base.db.prev.tmp")));
        EXPECT_EQ(dialog.takeOutcome(), DownloadOutcome::Replaced);
        EXPECT_EQ(dialog.takeOutcome(), DownloadOutcome::None);
    };
    download(first);
    EXPECT_EQ(folder.read("base.db.prev"), kOld);
    download(second);
    EXPECT_EQ(folder.read("base.db.prev"), first);  // one generation only

    // Nothing replaced: an older base.db.prev would misstate the change.
    fs::remove(folder.path("base.db"));
    download(first);
    EXPECT_FALSE(fs::exists(folder.path("base.db.prev")));

    // The copy fails (its temporary name is taken): the download still
    // succeeds, and the stale base.db.prev goes.
    writeFileBytes(folder.path("base.db.prev"), kOld);
    fs::create_directory(folder.path("base.db.prev.tmp"));
    http.serve(second);
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(folder.read("base.db"), second);
    EXPECT_FALSE(fs::exists(folder.path("base.db.prev")));
    EXPECT_EQ(dialog.takeOutcome(), DownloadOutcome::Replaced);

    // A download that fails to replace base.db reports no replacement.
    fs::remove(folder.path("base.db"));
    fs::create_directory(folder.path("base.db"));
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"File access denied"});
    EXPECT_EQ(dialog.takeOutcome(), DownloadOutcome::None);
}

}  // namespace
}  // namespace zorbinta
