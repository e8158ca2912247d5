// The download's bounds and what it keeps of the catalogue it replaces, with
// a scripted client: lengths a server may announce, bodies without end, the
// loader's refusal of a large base.db, and base.db.prev.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "tests/FakePlatform.h"
#include "tests/Recording.h"
#include "update/core/Settings.h"
#include "update/core/UpdateDialog.h"

namespace zorbinta {
namespace {

namespace fs = std::filesystem;

// A catalogue of the given providers; the first one's extra information
// pads it to padTo bytes.
std::string catalogueOf(int providers, std::size_t padTo = 0) {
    auto build = [providers](std::size_t pad) {
        std::string text;
        for (int p = 1; p <= providers; ++p) {
            text += "prov|" + std::to_string(p) + "|Firm" + std::to_string(p) +
                    "|A|1|2|3|4|5|6|w.ru|m@w.ru|01.01.2005|" + std::string(p == 1 ? pad : 0, 'x') +
                    "|0|0|0|0|0|0|0|0|0|0|";
        }
        return text + "dom|ru|0|1|600|600|1|";
    };
    const std::size_t plain = build(0).size();
    return build(padTo > plain ? padTo - plain : 0);
}

// Announces a length, then streams body, or 'x' without end when body is
// empty, in chunks of 1024 as the real clients do, until asked to stop.
class ScriptedHttp final : public HttpClient {
public:
    bool isConnected() override { return true; }
    ContentLengthReply getContentLength(const std::string&) override { return {200, announced}; }
    Transfer downloadToFile(const std::string&, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override {
        ++downloads;
        std::ofstream out(path, std::ios::binary);
        // Far past the bound: a dialog that never stops the stream fails here.
        for (std::size_t at = 0; body.empty() ? at < 4 * kMaxCatalogueBytes : at < body.size();
             at += 1024) {
            const std::string chunk = body.empty() ? std::string(1024, 'x') : body.substr(at, 1024);
            out << chunk << std::flush;
            streamed += chunk.size();
            if (!onChunk(chunk.size())) return {TransferResult::Cancelled, 200, {}};
        }
        return {TransferResult::Complete, 200, {}};
    }
    std::string announced;
    std::string body;
    int downloads = 0;
    std::uintmax_t streamed = 0;
};

class DownloadBoundsTest : public ::testing::Test {
protected:
    DownloadBoundsTest() {
        folder.write("templ/config.txt", "1");
        writeFileBytes(path("base.db"), kOld);
        loader.CatalogueLoad();
    }
    std::string path(const std::string& name) const { return folder.path() + name; }
    std::string file(const std::string& name) const { return readFileBytes(path(name)); }
    void press() {
        runGuarded(messages, [this] { dialog.Button1Click(); });
    }
    void expectNothingChanged() const {
        EXPECT_EQ(file("base.db"), kOld);
        EXPECT_EQ(catalogue.ProviderCount, 2);
        EXPECT_FALSE(fs::exists(path("base.db.part")));
        EXPECT_TRUE(dialogs.closed.empty());
    }

    const std::string kOld = catalogueOf(2);
    testing::ProgramFolder folder;
    testing::RecordingMessages messages;
    testing::RecordingDialogs dialogs;
    testing::RecordingLinks links;
    Catalogue catalogue;
    NewVersionPrompt prompt{dialogs, links, folder.path()};
    CatalogueLoader loader{catalogue, folder.path(), prompt};
    ScriptedHttp http;
    UpdateDialog dialog =
        UpdateDialog(catalogue, loader, http, messages, dialogs, folder.path(), "http://x", [] {});
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
        if (!c.streamsWithoutEnd) http.body = catalogueOf(5);
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
    http.body = catalogueOf(5);
    http.announced = std::to_string(http.body.size());
    press();
    EXPECT_EQ(catalogue.ProviderCount, 5);
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
}

TEST_F(DownloadBoundsTest, LoaderRefusesALargeFileBeforeReadingIt) {
    // Sparse: a 2 GB base.db costs nothing to make, and nothing to refuse.
    for (const std::uintmax_t size : {kMaxCatalogueBytes + 1, std::uintmax_t{2000000000}}) {
        fs::resize_file(path("base.db"), size);
        try {
            loader.CatalogueLoad();
            ADD_FAILURE() << "loaded " << size << " bytes";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Файл каталога слишком велик: размер в байтах — " +
                                                 std::to_string(size) +
                                                 ", допустимо не больше 33554432");
        }
        EXPECT_EQ(fs::file_size(path("base.db")), size);
        EXPECT_EQ(catalogue.ProviderCount, 2);
        EXPECT_EQ(catalogue.text(ProviderTable, slot::FirmName, 1), "Firm1");
    }
    // A device without a size is not read past the bound either.
    fs::remove(path("base.db"));
    fs::create_symlink("/dev/zero", path("base.db"));
    EXPECT_THROW(loader.CatalogueLoad(), Error);
    EXPECT_EQ(catalogue.ProviderCount, 2);

    // A catalogue of exactly the bound loads.
    fs::remove(path("base.db"));
    writeFileBytes(path("base.db"), catalogueOf(3, kMaxCatalogueBytes));
    ASSERT_EQ(fs::file_size(path("base.db")), kMaxCatalogueBytes);
    loader.CatalogueLoad();
    EXPECT_EQ(catalogue.ProviderCount, 3);
}

TEST_F(DownloadBoundsTest, TheReplacedCatalogueIsKeptAsPrev) {
    const std::string first = catalogueOf(4), second = catalogueOf(6);
    auto download = [&](const std::string& body) {
        http.body = body;
        http.announced = std::to_string(body.size());
        press();
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
        EXPECT_EQ(file("base.db"), body);
        EXPECT_FALSE(fs::exists(path("base.db.prev.tmp")));
        EXPECT_TRUE(dialog.takeReplaced());
        EXPECT_FALSE(dialog.takeReplaced());
    };
    download(first);
    EXPECT_EQ(file("base.db.prev"), kOld);
    download(second);
    EXPECT_EQ(file("base.db.prev"), first);  // one generation only

    // Nothing replaced: an older base.db.prev would misstate the change.
    fs::remove(path("base.db"));
    download(first);
    EXPECT_FALSE(fs::exists(path("base.db.prev")));

    // The copy fails (its temporary name is taken): the download still
    // succeeds, and the stale base.db.prev goes.
    writeFileBytes(path("base.db.prev"), kOld);
    fs::create_directory(path("base.db.prev.tmp"));
    http.body = second;
    http.announced = std::to_string(second.size());
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(file("base.db"), second);
    EXPECT_FALSE(fs::exists(path("base.db.prev")));
    EXPECT_TRUE(dialog.takeReplaced());

    // A download that fails to replace base.db reports no replacement.
    fs::remove(path("base.db"));
    fs::create_directory(path("base.db"));
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"File access denied"});
    EXPECT_FALSE(dialog.takeReplaced());
}

}  // namespace
}  // namespace zorbinta
