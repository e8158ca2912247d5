// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt Network client and the download dialog's window against a local
// HTTP server.

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <filesystem>
#include <set>
#include <thread>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/FileIO.h"
#include "tests/LocalHttpServer.h"
#include "tests/Recording.h"
#include "tests/TestCertificates.h"
#include "update/core/Settings.h"
#include "update/core/UpdateDialog.h"
#include "update/qt/QtHttpClient.h"
#include "update/qt/TForm3.h"

using namespace zorbinta;
using testsupport::HttpPeer;
using testsupport::httpReply;
using testsupport::HttpRequest;
using testsupport::inOrder;
using testsupport::LocalHttpServer;
using zorbinta::testing::RecordingDialogs;
using zorbinta::testing::RecordingLinks;
using zorbinta::testing::RecordingMessages;

Q_DECLARE_METATYPE(zorbinta::TransferResult)

namespace {

// How a case of the status line goes wrong.
enum class Trouble {
    Offline,
    NoAddress,
    Refused,
    Silent,
    Broken,
    NotFound,
    TooLarge,
    SelfSigned,
    BadSignature,
    DiskFull,
    ReadOnly
};

// The real client, but offline or with a disk that refuses the file when a
// case asks.
class TroubledClient final : public ForwardingHttpClient {
public:
    using ForwardingHttpClient::ForwardingHttpClient;
    bool offline = false;
    int writeError = 0;
    bool isConnected() override { return !offline && ForwardingHttpClient::isConnected(); }
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override {
        if (writeError == 0) return ForwardingHttpClient::downloadToFile(url, path, onChunk);
        return {TransferResult::WriteError, 0,
                writeError == ENOSPC ? "Disk full" : "File access denied", writeError};
    }
};

class RefusingSignatures final : public SignatureChecker {
public:
    SignatureVerdict check(std::string_view, std::string_view) const override { return {}; }
};

// Sends the head and then 1024 bytes every 20 ms.
void slowBody(const HttpRequest&, HttpPeer& peer) {
    const std::string piece(1024, 'x');
    if (!peer.write(httpReply(200, "", "", "40960"))) return;
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!peer.write(piece)) return;
    }
}

// Sends the head and three of its forty chunks, then falls silent until the
// client goes: the transfer is under way for as long as the test needs.
void threeChunksOfForty(const HttpRequest&, HttpPeer& peer) {
    if (peer.write(httpReply(200, std::string(3 * 1024, 'x'), "", "40960"))) peer.waitForClose();
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("zorbinta-qthttp-") + std::to_string(QCoreApplication::applicationPid()) +
             "-" + name))
        .string();
}

}  // namespace

Q_DECLARE_METATYPE(Trouble)

class QtHttpClientTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        client = std::make_unique<QtHttpClient>();
        part = tempPath("part");
        std::filesystem::remove(part);
    }
    void cleanup() { std::filesystem::remove(part); }

    void wholeChunksAsTheProgramsOwnAgent() {
        const std::string body(300000, 'c');
        LocalHttpServer server(inOrder({httpReply(200, body)}));
        const ContentLengthReply size = client->getContentLength(server.url() + "/base.db");
        QCOMPARE(size.status, 200);
        QCOMPARE(size.text, std::string("300000"));

        std::vector<std::size_t> chunks;
        const Transfer t =
            client->downloadToFile(server.url() + "/base.db", part, [&](std::size_t n) {
                chunks.push_back(n);
                return true;
            });
        QCOMPARE(t.result, TransferResult::Complete);
        QCOMPARE(readFileBytes(part), body);
        QCOMPARE(chunks.size(), std::size_t{293});
        for (std::size_t i = 0; i + 1 < chunks.size(); ++i) QCOMPARE(chunks[i], std::size_t{1024});
        QCOMPARE(chunks.back(), std::size_t{300000 - 292 * 1024});

        const auto requests = server.requests();
        QCOMPARE(requests.size(), std::size_t{2});
        const std::string agent =
            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
        for (const HttpRequest& r : requests) {
            QCOMPARE(r.path, std::string("/base.db"));
            QCOMPARE(r.headers.at("user-agent"), agent);
            QCOMPARE(r.headers.at("accept-encoding"), std::string("identity"));
        }
    }

    void replies_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("lengthText");
        QTest::addColumn<zorbinta::TransferResult>("result");
        QTest::addColumn<QByteArray>("written");  // the file, once Complete
        QTest::addColumn<bool>("whole");          // all of it before the close
        const std::string page = "<html><body>Not Found</body></html>";
        const std::string b500(500, 'b');
        auto row = [](const char* name, const std::string& reply, int status, const char* length,
                      TransferResult result, bool whole, const std::string& written = {}) {
            QTest::newRow(name) << QByteArray::fromStdString(reply) << status << QByteArray(length)
                                << result << QByteArray::fromStdString(written) << whole;
        };
        row("not found", httpReply(404, page), 404, "35", TransferResult::HttpError, true);
        row("no length", httpReply(200, b500, "", ""), 200, "", TransferResult::Complete, false,
            b500);
        row("cut off", httpReply(200, std::string(700, 'b'), "", "5000"), 200, "5000",
            TransferResult::WrongSize, false);
        row("empty", httpReply(200, ""), 200, "0", TransferResult::Complete, true);
    }

    void replies() {
        QFETCH(QByteArray, reply);
        QFETCH(int, status);
        QFETCH(QByteArray, lengthText);
        QFETCH(zorbinta::TransferResult, result);
        QFETCH(QByteArray, written);
        QFETCH(bool, whole);
        LocalHttpServer server(inOrder({reply.toStdString()}));
        const ContentLengthReply size = client->getContentLength(server.url() + "/base.db");
        QCOMPARE(size.status, status);
        QCOMPARE(size.text, lengthText.toStdString());
        QVERIFY(!size.timedOut);
        const Transfer t = client->downloadToFile(server.url() + "/base.db", part,
                                                  [](std::size_t) { return true; });
        QCOMPARE(t.result, result);
        if (result == TransferResult::HttpError) QCOMPARE(t.status, status);
        if (result == TransferResult::Complete)
            QCOMPARE(readFileBytes(part), written.toStdString());
        // One request each, when the reply came whole before the close.
        // When the close ends it early (no length, or fewer bytes than
        // announced), Qt may send the same GET again: the result stays.
        const std::size_t asked = server.requests().size();
        if (!whole) {
            QVERIFY(asked >= 2);
        } else {
            QCOMPARE(asked, std::size_t{2});
        }
    }

    // Every hop leads somewhere new, so the paths asked for show how far the
    // client went, however often a hop was asked.
    void redirectsEndAtTheLimit() {
        LocalHttpServer server([](const HttpRequest& request, HttpPeer& peer) {
            const int hop = request.path == "/base.db" ? 0 : std::stoi(request.path.substr(4));
            peer.write(httpReply(302, "", "Location: /hop" + std::to_string(hop + 1) + "\r\n"));
        });
        std::set<std::string> hops{"/base.db"};
        for (int hop = 1; hop <= QtHttpClient::kMaxRedirects; ++hop) {
            hops.insert("/hop" + std::to_string(hop));
        }
        auto askedSince = [&server](std::size_t first) {
            const auto requests = server.requests();
            std::set<std::string> paths;
            for (std::size_t i = first; i < requests.size(); ++i) paths.insert(requests[i].path);
            return paths;
        };

        // The last hop's own head is what counts.
        const ContentLengthReply size = client->getContentLength(server.url() + "/base.db");
        QCOMPARE(size.status, 302);
        QCOMPARE(size.text, std::string("0"));
        QCOMPARE(askedSince(0), hops);

        const std::size_t before = server.requests().size();
        const Transfer t = client->downloadToFile(server.url() + "/base.db", part,
                                                  [](std::size_t) { return true; });
        QCOMPARE(t.result, TransferResult::HttpError);
        QCOMPARE(t.status, 302);
        QCOMPARE(askedSince(before), hops);
    }

    void unreachableServer() {
        const ContentLengthReply size = client->getContentLength("http://127.0.0.1:1/base.db");
        QCOMPARE(size.status, 0);
        QCOMPARE(size.text, std::string());
        const Transfer t = client->downloadToFile("http://127.0.0.1:1/base.db", part,
                                                  [](std::size_t) { return true; });
        QCOMPARE(t.result, TransferResult::Failed);
    }

    // The server stays silent until the client gives up.
    void stallEndsTheRequest() {
        client->setStallTimeout(std::chrono::milliseconds(400));
        LocalHttpServer server([](const HttpRequest&, HttpPeer& peer) {
            peer.write(httpReply(200, std::string(100, 'b'), "", "5000"));
            peer.waitForClose();
        });
        const Transfer t = client->downloadToFile(server.url() + "/base.db", part,
                                                  [](std::size_t) { return true; });
        QCOMPARE(t.result, TransferResult::TimedOut);

        server.setHandler([](const HttpRequest&, HttpPeer& peer) { peer.waitForClose(); });
        QVERIFY(client->getContentLength(server.url() + "/base.db").timedOut);
    }

    void cancelStopsTheTransfer() {
        LocalHttpServer server(slowBody);
        int calls = 0;
        Transfer t = client->downloadToFile(server.url() + "/base.db", part,
                                            [&](std::size_t) { return ++calls < 3; });
        QCOMPARE(t.result, TransferResult::Cancelled);
        QCOMPARE(calls, 3);

        // From the window's event loop, once the request is in and the
        // server stays silent (a stall would end it as TimedOut instead).
        server.setHandler([this](const HttpRequest&, HttpPeer& peer) {
            QMetaObject::invokeMethod(
                qApp, [this] { client->cancel(); }, Qt::QueuedConnection);
            peer.waitForClose();
        });
        t = client->downloadToFile(server.url() + "/base.db", part,
                                   [](std::size_t) { return true; });
        QCOMPARE(t.result, TransferResult::Cancelled);
    }

    void windowMovesTheBarAndCancels() {
        const std::filesystem::path dir = tempPath("dir");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "templ");
        const std::string programDir = dir.string() + "/";
        const std::string old = "dom|ru|0|1|600|600|1|" + std::string(200, ' ');
        writeFileBytes(programDir + "base.db", old);
        writeFileBytes(programDir + "templ/config.txt", "1");

        LocalHttpServer server(threeChunksOfForty);
        RecordingMessages messages;
        RecordingDialogs dialogs;
        RecordingLinks links;
        Catalogue catalogue;
        NewVersionPrompt prompt(dialogs, links, ProgramFiles(programDir));
        CatalogueLoader loader(catalogue, ProgramFiles(programDir), prompt);
        UpdateDialog model(catalogue, loader, *client, messages, dialogs, ProgramFiles(programDir),
                           server.url(), [] {});
        TForm3 form(model);
        QCOMPARE(form.windowTitle(), QString("Обновление"));
        QCOMPARE(form.Label1->text(), QString("Загрузка базы данных"));
        QCOMPARE(form.Button1->text(), QString("Загрузить"));
        QCOMPARE(form.Button2->text(), QString("Отмена"));
        form.show();

        // Part of the way through, the bar has moved and "Отмена", pressed
        // from the window's event loop, still answers.
        int seen = -1;
        connect(form.ProgressBar1, &QProgressBar::valueChanged, &form, [&](int value) {
            if (value < 3 * 1024 || seen >= 0) return;
            seen = value;
            QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.Button2, Qt::LeftButton); });
        });
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(seen, 3 * 1024);
        QCOMPARE(form.ProgressBar1->maximum(), 40960);
        QVERIFY(form.ProgressBar1->value() < 40960);
        QVERIFY(messages.shown.empty());
        QCOMPARE(dialogs.closed, std::vector<DialogId>{DialogId::Update});
        QCOMPARE(readFileBytes(programDir + "base.db"), old);
        QVERIFY(!std::filesystem::exists(programDir + "base.db.part"));
        std::filesystem::remove_all(dir);
    }

    // The window's status line says what went wrong, in the user's words,
    // while the message box and base.db stay as they were; the next
    // "Загрузить" clears it as its transfer starts.
    void statusLineSaysWhatWentWrong_data() {
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<QString>("status");   // the line, or a pattern of it
        QTest::addColumn<QString>("message");  // the box; empty: the one the case gives
        const QString noInteger = "'' is not a valid integer value";
        auto row = [](const char* name, Trouble t, const QString& status, const QString& box) {
            QTest::newRow(name) << t << status << box;
        };
        row("offline", Trouble::Offline, "Компьютер не подключён к интернету.",
            "Подключитесь к интернету");
        row("no address", Trouble::NoAddress,
            "Сервер каталога не найден: не удалось узнать его адрес.*", noInteger);
        row("refused", Trouble::Refused, "Сервер каталога не принимает подключения.*", noInteger);
        row("timed out", Trouble::Silent, "Сервер каталога не отвечает.*",
            "Сервер не отвечает. Попробуйте загрузить базу данных позже");
        row("broken", Trouble::Broken, "Связь с сервером прервалась: получено \\d+ из 40 КБ.*", "");
        row("server error", Trouble::NotFound, ".*нет \\(ошибка 404\\).",
            "Сервер не отдал файл базы данных (HTTP 404)");
        row("too large", Trouble::TooLarge, "Файл на сервере слишком велик.*",
            "Файл базы данных слишком велик");
        row("certificate", Trouble::SelfSigned, "Сертификат сервера не принят.*",
            QString::fromUtf8(kSecureConnectionMessage));
        row("signature", Trouble::BadSignature, "Подпись каталога не подтверждена.*",
            QString::fromUtf8(kSignatureMessage));
        row("disk full", Trouble::DiskFull, "Диск заполнен.*", "Disk full");
        row("read-only", Trouble::ReadOnly, "Папка каталога защищена от записи.*",
            "File access denied");
    }

    void statusLineSaysWhatWentWrong() {
        QFETCH(Trouble, trouble);
        QFETCH(QString, status);
        QFETCH(QString, message);
        const std::filesystem::path dir = tempPath("status");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "templ");
        const std::string programDir = dir.string() + "/";
        const std::string old = "dom|ru|0|1|600|600|1|" + std::string(200, ' ');
        writeFileBytes(programDir + "base.db", old);
        writeFileBytes(programDir + "templ/config.txt", "1");

        const std::string catalogue(4096, ' ');
        std::optional<testsupport::TlsIdentity> tls;
        if (trouble == Trouble::SelfSigned) tls = testsupport::TestCertificates::get().selfSigned;
        LocalHttpServer server(
            [&](const HttpRequest& request, HttpPeer& peer) {
                if (trouble == Trouble::Silent) return peer.waitForClose();
                const std::string body = request.path == "/base.db" ? catalogue : "sig";
                peer.write(trouble == Trouble::Broken
                               ? httpReply(200, body.substr(0, 3 * 1024), "", "40960")
                           : trouble == Trouble::NotFound ? httpReply(404, "Not Found")
                           : trouble == Trouble::TooLarge ? httpReply(200, "", "", "99999999999")
                                                          : httpReply(200, body));
            },
            tls, tls ? "localhost" : "127.0.0.1");
        std::string url = server.url();
        if (trouble == Trouble::NoAddress) url = "http://catalogue.invalid";
        if (trouble == Trouble::Refused) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url = "http://127.0.0.1:" + std::to_string(closed.serverPort());
        }
        if (trouble == Trouble::Silent) client->setStallTimeout(std::chrono::milliseconds(300));
        TroubledClient http(*client);
        http.offline = trouble == Trouble::Offline;
        if (trouble == Trouble::DiskFull) http.writeError = ENOSPC;
        if (trouble == Trouble::ReadOnly) http.writeError = EROFS;
        RefusingSignatures refusing;

        RecordingMessages messages;
        RecordingDialogs dialogs;
        RecordingLinks links;
        Catalogue tables;
        NewVersionPrompt prompt(dialogs, links, ProgramFiles(programDir));
        CatalogueLoader loader(tables, ProgramFiles(programDir), prompt);
        UpdateDialog model(
            tables, loader, http, messages, dialogs, ProgramFiles(programDir), url, [] {},
            trouble == Trouble::BadSignature ? &refusing : nullptr);
        TForm3 form(model);
        form.show();
        QVERIFY(form.StatusLine->text().isEmpty());
        QStringList seen;
        const std::function<void()> shown = model.onFailure;
        model.onFailure = [&] {
            shown();
            seen << form.StatusLine->text();
        };

        for (int press = 1; press <= 2; ++press) {
            seen.clear();
            messages.shown.clear();
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            const QString line = form.StatusLine->text();
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(status))
                         .match(line)
                         .hasMatch(),
                     qPrintable(line));
            QVERIFY(!seen.isEmpty());
            QCOMPARE(seen.first(), QString());  // cleared as the press begins
            QCOMPARE(messages.shown.size(), std::size_t{1});
            if (!message.isEmpty()) QCOMPARE(QString::fromStdString(messages.shown[0]), message);
            QVERIFY(dialogs.closed.empty());
            QCOMPARE(readFileBytes(programDir + "base.db"), old);
        }
        std::filesystem::remove_all(dir);
    }

private:
    std::unique_ptr<QtHttpClient> client;
    std::string part;
};

QTEST_MAIN(QtHttpClientTest)
#include "qthttpclient_test.moc"
