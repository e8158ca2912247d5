// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue download against a real HTTP server on 127.0.0.1: the dialog
// model, the programs' Qt Network client, the loader and the new-version
// prompt together.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Numbers.h"
#include "tests/FakePlatform.h"
#include "tests/LocalHttpServer.h"
#include "tests/Recording.h"
#include "tests/SampleCatalogue.h"
#include "update/core/Settings.h"
#include "update/core/UpdateDialog.h"
#include "update/qt/QtHttpClient.h"

namespace zorbinta {
namespace {

using testing::makeCatalogue;
using testing::RecordingDialogs;
using testing::RecordingLinks;
using testing::RecordingMessages;

using testsupport::HttpPeer;
using testsupport::httpReply;
using testsupport::HttpRequest;
using testsupport::inOrder;
using testsupport::LocalHttpServer;

constexpr const char* kWrongSize =
    "Файл базы данных передан с ошибкой: его размер не совпадает с заявленным сервером";
constexpr const char* kNoAnswer = "Сервер не отвечает. Попробуйте загрузить базу данных позже";

// The program's client with the dialog's calls counted. The server's own
// count is not the same thing: when a connection closes before Qt has the
// whole reply (no length, or fewer bytes than announced), Qt may send the
// same GET again by itself.
class CountedClient final : public ForwardingHttpClient {
public:
    explicit CountedClient(QtHttpClient& client) : ForwardingHttpClient(client) {}
    bool isConnected() override { return connected; }
    ContentLengthReply getContentLength(const std::string& url) override {
        ++sizeRequests;
        return ForwardingHttpClient::getContentLength(url);
    }
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override {
        ++downloads;
        return ForwardingHttpClient::downloadToFile(url, path, onChunk);
    }

    bool connected = true;
    int sizeRequests = 0;
    int downloads = 0;
};

const std::string kOldCatalogue = makeCatalogue(2, 3);
const std::string kNewCatalogue = makeCatalogue(5, 7);

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest() {
        folder.write("templ/config.txt", "1");
        writeFileBytes(folder.path() + "base.db", kOldCatalogue);
        loader.CatalogueLoad();
    }

    void press() {
        runGuarded(messages, [this] { dialog.Button1Click(); });
    }
    void serve(std::string reply) {
        server.setHandler([reply](const HttpRequest&, HttpPeer& peer) { peer.write(reply); });
    }
    std::string baseDb() const { return readFileBytes(folder.path() + "base.db"); }
    bool partLeft() const { return std::filesystem::exists(folder.path() + "base.db.part"); }

    // The catalogue file, the tables and the dialog as they were before.
    void expectNothingChanged() {
        EXPECT_EQ(baseDb(), kOldCatalogue);
        EXPECT_EQ(catalogue.ProviderCount, 2);
        EXPECT_EQ(catalogue.PlanCount, 3);
        EXPECT_EQ(catalogue.DomainEnd, 2);
        EXPECT_TRUE(status.empty());
        EXPECT_TRUE(dialogs.closed.empty());
        EXPECT_FALSE(partLeft());
    }

    testing::ProgramFolder folder;
    LocalHttpServer server;
    RecordingMessages messages;
    RecordingDialogs dialogs;
    RecordingLinks links;
    Catalogue catalogue;
    NewVersionPrompt prompt{dialogs, links, ProgramFiles(folder.path())};
    CatalogueLoader loader{catalogue, ProgramFiles(folder.path()), prompt};
    QtHttpClient qt;
    CountedClient http{qt};
    std::vector<std::string> status;
    UpdateDialog dialog{catalogue,
                        loader,
                        http,
                        messages,
                        dialogs,
                        ProgramFiles(folder.path()),
                        server.url(),
                        [this] {
                            status = {"Хостинг-провайдеров:" + formatInt(catalogue.ProviderCount),
                                      "Тарифных планов:" + formatInt(catalogue.PlanCount)};
                        }};
};

TEST_F(UpdateTest, GoodCatalogueReplacesTheFileLoadsItAndCloses) {
    serve(httpReply(200, kNewCatalogue));
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(baseDb(), kNewCatalogue);
    EXPECT_FALSE(partLeft());
    EXPECT_EQ(status, (std::vector<std::string>{"Хостинг-провайдеров:5", "Тарифных планов:7"}));
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
    EXPECT_EQ(catalogue.text(ProviderTable, slot::FirmName, 5), "Firm5");

    // Two GETs of the catalogue, as the program's own agent.
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const HttpRequest& r : requests) {
        EXPECT_EQ(r.method, "GET");
        EXPECT_EQ(r.path, "/base.db");
        EXPECT_EQ(r.headers.at("user-agent"), "http_tests");
        EXPECT_EQ(r.headers.at("host"), "127.0.0.1:" + std::to_string(server.port()));
    }
}

std::string chunked(const std::string& body) {
    std::string reply =
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (std::size_t at = 0; at < body.size(); at += 700) {
        const std::string piece = body.substr(at, 700);
        std::ostringstream size;
        size << std::hex << piece.size();
        reply += size.str() + "\r\n" + piece + "\r\n";
    }
    return reply + "0\r\n\r\n";
}

TEST_F(UpdateTest, ChunkedBodiesAndRedirectsAreFollowed) {
    server.setHandler(inOrder({httpReply(200, kNewCatalogue), chunked(kNewCatalogue)}));
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(baseDb(), kNewCatalogue);

    writeFileBytes(folder.path() + "base.db", kOldCatalogue);
    const std::string moved = "Location: " + server.url() + "/files/base.db\r\n";
    server.setHandler([moved](const HttpRequest& r, HttpPeer& peer) {
        peer.write(r.path == "/base.db" ? httpReply(302, "moved", moved)
                                        : httpReply(200, kNewCatalogue));
    });
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(baseDb(), kNewCatalogue);
    EXPECT_EQ(server.requests().back().path, "/files/base.db");
}

TEST_F(UpdateTest, AnnouncedNewVersionIsOfferedDuringTheLoad) {
    folder.write("templ/config.txt", "0");
    serve(httpReply(200, makeCatalogue(4, 4, "3.2")));
    press();
    EXPECT_EQ(dialogs.shown, std::vector<DialogId>{DialogId::Prompt});
    EXPECT_EQ(status, (std::vector<std::string>{"Хостинг-провайдеров:4", "Тарифных планов:4"}));
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
}

TEST_F(UpdateTest, BarCountsWholeChunksAndStopsAtItsMaximum) {
    const std::string big = makeCatalogue(3, 3, {}, 300000);
    ASSERT_EQ(big.size(), 300000u);
    serve(httpReply(200, big));
    std::vector<std::array<int, 3>> bar;
    dialog.onProgress = [&] {
        bar.push_back({dialog.progressMin, dialog.progressMax, dialog.progressPosition});
    };
    press();
    ASSERT_TRUE(messages.shown.empty());
    ASSERT_EQ(bar.size(), 1u + 293u);  // the reset, then one step per chunk
    for (std::size_t i = 0; i < bar.size(); ++i) {
        EXPECT_EQ(bar[i][0], 0);
        EXPECT_EQ(bar[i][1], 300000);
        EXPECT_EQ(bar[i][2], std::min<int>(static_cast<int>(i) * 1024, 300000)) << i;
    }
    EXPECT_EQ(bar[292][2], 299008);

    // The next press sizes the bar anew and starts it at 0.
    bar.clear();
    serve(httpReply(200, std::string(100, 'x')));
    press();
    EXPECT_EQ(bar, (std::vector<std::array<int, 3>>{{0, 100, 0}, {0, 100, 100}}));

    // Content-Length 0: an empty range, nothing loaded, the dialog still open.
    bar.clear();
    serve(httpReply(200, ""));
    press();
    EXPECT_EQ(bar, (std::vector<std::array<int, 3>>{{0, 0, 0}}));
    EXPECT_EQ(dialogs.closed.size(), 1u);
}

TEST_F(UpdateTest, CancelDuringASlowTransferLeavesEverythingAndCloses) {
    server.setHandler([](const HttpRequest&, HttpPeer& peer) {
        const std::string body(20 * 1024, 'x');
        if (!peer.write(httpReply(200, "", "", "20480"))) return;
        for (int i = 0; i < 20; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (!peer.write(body.substr(0, 1024))) return;
        }
    });
    std::vector<int> positions;
    dialog.onProgress = [&] {
        positions.push_back(dialog.progressPosition);
        if (dialog.progressPosition == 1024) dialog.Button1Click();  // ignored meanwhile
        if (dialog.progressPosition == 3072) dialog.Button2Click();
    };
    press();
    EXPECT_EQ(positions, (std::vector<int>{0, 1024, 2048, 3072}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(http.sizeRequests, 1);
    EXPECT_EQ(http.downloads, 1);
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
    dialogs.closed.clear();
    expectNothingChanged();
}

// A client whose event loop lets "Отмена" be pressed while the size request
// is under way, as the desktop one does.
class CancelledSizeRequest final : public HttpClient {
public:
    bool isConnected() override { return true; }
    ContentLengthReply getContentLength(const std::string&) override {
        press();
        return {0, "", false};
    }
    Transfer downloadToFile(const std::string&, const std::string&,
                            const std::function<bool(std::size_t)>&) override {
        ++downloads;
        return {};
    }
    Transfer downloadToMemory(const std::string&, std::string&,
                              const std::function<bool(std::size_t)>&) override {
        return {};
    }
    void cancel() override { ++cancels; }
    std::function<void()> press;
    int downloads = 0;
    int cancels = 0;
};

TEST_F(UpdateTest, CancelDuringTheSizeRequestClosesWithoutADownload) {
    CancelledSizeRequest client;
    UpdateDialog window(catalogue, loader, client, messages, dialogs, ProgramFiles(folder.path()),
                        server.url(), [] {});
    client.press = [&] { window.Button2Click(); };
    runGuarded(messages, [&] { window.Button1Click(); });
    EXPECT_EQ(client.cancels, 1);
    EXPECT_EQ(client.downloads, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(dialogs.closed, std::vector<DialogId>{DialogId::Update});
    dialogs.closed.clear();
    expectNothingChanged();
}

TEST_F(UpdateTest, OfflineAsksToConnectWithoutARequest) {
    http.connected = false;
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Подключитесь к интернету"});
    EXPECT_EQ(http.sizeRequests, 0);
    EXPECT_TRUE(server.requests().empty());
    expectNothingChanged();
}

TEST_F(UpdateTest, UnreachableServerReportsTheEmptyLength) {
    UpdateDialog nowhere(catalogue, loader, http, messages, dialogs, ProgramFiles(folder.path()),
                         "http://127.0.0.1:1", [] {});
    runGuarded(messages, [&] { nowhere.Button1Click(); });
    EXPECT_EQ(messages.shown, std::vector<std::string>{"'' is not a valid integer value"});
    expectNothingChanged();
}

TEST_F(UpdateTest, UnwritableTargetShowsTheIoErrorAndKeepsTheCatalogue) {
    // Root writes through permissions; a folder where the file should go stops it.
    const std::string part = folder.path() + "base.db.part";
    std::filesystem::create_directory(part);
    writeFileBytes(part + "/keep", "x");
    serve(httpReply(200, kNewCatalogue));
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"File access denied"});
    EXPECT_TRUE(std::filesystem::exists(part + "/keep"));
    std::filesystem::remove_all(part);
    expectNothingChanged();
}

TEST_F(UpdateTest, FailedReplaceRestoresTheTables) {
    // base.db turned into a folder after the load: the rename over it fails.
    const std::string target = folder.path() + "base.db";
    std::filesystem::remove(target);
    std::filesystem::create_directory(target);
    writeFileBytes(target + "/keep", "x");
    serve(httpReply(200, kNewCatalogue));
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"File access denied"});
    EXPECT_EQ(catalogue.ProviderCount, 2);
    EXPECT_EQ(catalogue.PlanCount, 3);
    EXPECT_EQ(catalogue.text(ProviderTable, slot::FirmName, 1), "Firm1");
    EXPECT_TRUE(status.empty());
    EXPECT_TRUE(dialogs.closed.empty());
    EXPECT_FALSE(partLeft());
}

struct FailureCase {
    const char* name;
    std::vector<std::string> replies;  // one per request, the last repeated
    std::vector<std::string> shown;    // what the user sees
    int downloads;                     // 0: refused after the size request
};

std::string withLength(const std::string& body, std::size_t announced) {
    return httpReply(200, body, "", std::to_string(announced).c_str());
}

const std::string kBadRecord = "prov|x1|" + std::string(200, 'a') + "|";

const FailureCase kFailures[] = {
    {"NoContentLength",
     {httpReply(200, kNewCatalogue, "", "")},
     {"'' is not a valid integer value"},
     0},
    {"ContentLengthNotANumber",
     {httpReply(200, kNewCatalogue, "", "12ab")},
     {"'12ab' is not a valid integer value"},
     0},
    {"NotFoundPage",
     {httpReply(404, "<html><body><h1>404 Not Found</h1></body></html>",
                "Content-Type: text/html\r\n")},
     {"Сервер не отдал файл базы данных (HTTP 404)"},
     0},
    {"ServerErrorOnTheDownload",
     {httpReply(200, kNewCatalogue), httpReply(500, "<html>oops</html>")},
     {"Сервер не отдал файл базы данных (HTTP 500)"},
     1},
    {"RedirectLoop",
     {httpReply(302, "", "Location: /base.db\r\n")},
     {"Сервер не отдал файл базы данных (HTTP 302)"},
     0},
    {"BodyCutOff",
     {httpReply(200, kNewCatalogue),
      withLength(kNewCatalogue.substr(0, 700), kNewCatalogue.size())},
     {kWrongSize},
     1},
    // Bytes beyond the announced length are not read: the loader judges
    // what was announced, here a catalogue cut off inside its last record.
    {"BodyLongerThanAnnounced",
     {httpReply(200, kNewCatalogue), withLength(kNewCatalogue, kNewCatalogue.size() - 12)},
     {"'' is not a valid floating point value"},
     1},
    {"AnnouncedLengthAboveTheBound",
     {withLength(kNewCatalogue, 2000000000)},
     {"Файл базы данных слишком велик"},
     0},
    {"HundredBytes", {httpReply(200, std::string(100, 'x'))}, {}, 1},
    {"EmptyBody", {httpReply(200, "")}, {}, 1},
    {"BodyThatFailsToLoad",
     {httpReply(200, kBadRecord)},
     {"'x1' is not a valid floating point value"},
     1},
};

class UpdateFailureTest : public UpdateTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(UpdateFailureTest, LeavesTheCatalogueAsItWas) {
    server.setHandler(inOrder(GetParam().replies));
    press();
    EXPECT_EQ(messages.shown, GetParam().shown);
    EXPECT_EQ(http.sizeRequests, 1);
    EXPECT_EQ(http.downloads, GetParam().downloads);
    expectNothingChanged();
}

// Test names carry the case's name; the printed parameter says nothing more.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(Replies, UpdateFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& c) { return std::string(c.param.name); });

// A server that announces a modest size and then streams without end is
// stopped once the bytes pass the bound; nothing of it stays on the disk.
TEST_F(UpdateTest, EndlessBodyIsStoppedAtTheBound) {
    std::atomic<int> request{0};
    server.setHandler([&request](const HttpRequest&, HttpPeer& peer) {
        if (request++ == 0) {
            peer.write(withLength("", 1000));
            return;
        }
        if (!peer.write(httpReply(200, "", "", "2000000000"))) return;
        const std::string piece(64 * 1024, 'x');
        while (peer.write(piece)) {
        }
    });
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Файл базы данных слишком велик"});
    expectNothingChanged();
}

TEST_F(UpdateTest, BytesBeyondTheAnnouncedLengthStayOutOfTheFile) {
    serve(withLength(kNewCatalogue + "prov|junk|", kNewCatalogue.size()));
    press();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(baseDb(), kNewCatalogue);
    EXPECT_EQ(catalogue.ProviderCount, 5);
}

// The server stays silent until the client gives up.
TEST_F(UpdateTest, StalledServerEndsWithAMessage) {
    qt.setStallTimeout(std::chrono::milliseconds(300));
    server.setHandler([](const HttpRequest&, HttpPeer& peer) {
        peer.write(withLength(kNewCatalogue.substr(0, 500), kNewCatalogue.size()));
        peer.waitForClose();
    });
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{kNoAnswer});
    expectNothingChanged();

    // Silence before the reply's head.
    messages.shown.clear();
    server.setHandler([](const HttpRequest&, HttpPeer& peer) { peer.waitForClose(); });
    press();
    EXPECT_EQ(messages.shown, std::vector<std::string>{kNoAnswer});
    expectNothingChanged();
}

}  // namespace
}  // namespace zorbinta

int main(int argc, char** argv) {
    // The client's requests wait in local event loops of this application.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
