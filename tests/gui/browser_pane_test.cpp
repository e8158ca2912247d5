// SPDX-License-Identifier: GPL-3.0-or-later
// The page pane on the real engine: what the router relies on (locations as
// navigated, relative links and both forms, pages of any size), and what a
// catalogue text cannot do (run scripts, load remote content, move the page
// through the engine's own history).

#include <QSignalSpy>
#include <QTcpServer>
#include <QVBoxLayout>
#include <algorithm>

#include "GuiHarness.h"
#include "pages/core/PageOutput.h"

using zorbinta::gui::clickElement;
using zorbinta::gui::evaluate;
using zorbinta::gui::pageText;
using zorbinta::gui::pump;
using zorbinta::gui::waitComplete;
using zorbinta::gui::waitUntil;
using zorbinta::qt::QtBrowserPane;

class BrowserPaneTest : public QObject {
    Q_OBJECT

private:
    zorbinta::gui::ProgramFolder folder_{"Мои программы/Зорбинта 3.1"};
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<QtBrowserPane> pane_;
    QStringList locations_;
    // What the stand-in router writes for a location; nothing when empty.
    std::function<std::string(const std::string&)> router_;

    // head + body + tail, as the router frames every page.
    std::string framed(const std::string& body) const {
        return zorbinta::LoadPageHead(folder_.path()) + body +
               zorbinta::LoadPageTail(folder_.path());
    }

    // Shows body at location and waits until the engine has it on show.
    void show(const std::string& location, const std::string& body) {
        router_ = [this, body](const std::string&) { return framed(body); };
        pane_->navigate(location);
        QVERIFY(waitComplete(*pane_));
        QCOMPARE(QString::fromStdString(pane_->locationUrl()), QString::fromStdString(location));
    }

    // The location the next navigation completes with, after action.
    QString nextLocation(const std::function<void()>& action) {
        const qsizetype before = locations_.size();
        action();
        if (!waitUntil([&] { return locations_.size() > before; })) {
            return "(no navigation)";
        }
        waitComplete(*pane_);
        return locations_.last();
    }

private slots:
    void initTestCase() {
        window_ = std::make_unique<QWidget>();
        pane_ = std::make_unique<QtBrowserPane>(folder_.path());
        auto* layout = new QVBoxLayout(window_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(pane_->view());
        window_->resize(900, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        pane_->setNavigateCompleteHandler([this] {
            locations_ << QString::fromStdString(pane_->locationUrl());
            const std::string page = router_ ? router_(pane_->locationUrl()) : std::string();
            if (!page.empty()) zorbinta::ShowPage(*pane_, page);
        });
    }

    void linksAndFormsArriveAsTheRouterReadsThem_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("link");
        const std::string command = folder_.templ("main.htm?stoim");
        QTest::newRow("command page")
            << QString::fromStdString(command) << QString::fromStdString(folder_.templ("space"));
        QTest::newRow("comparison page") << "http://srav/?nom=3&nom=17"
                                         << "http://srav/space";
        QTest::newRow("domain page") << "http://dom/?zona=.ru%7C&norh=1"
                                     << "http://dom/domregzona=.ru%7Cnorh=1";
    }
    void linksAndFormsArriveAsTheRouterReadsThem() {
        QFETCH(QString, location);
        QFETCH(QString, link);
        const std::string body =
            "<a id='rel' href='" +
            std::string(link.contains("domreg") ? "domregzona=.ru%7Cnorh=1" : "space") +
            "'>Ссылка</a>"
            "<form id='srav' action='http://srav' method='get'><input type='submit' "
            "value='Сравнить'>"
            "<input type='checkbox' name='nom' value='3'><input type='checkbox' name='nom' "
            "value='5'>"
            "<input type='checkbox' name='nom' value='17'></form>"
            "<form id='dom' action='http://dom'><select name='zona'><option "
            "value='.ru|'>.ru</option>"
            "<option value='.com|'>.com</option></select>"
            "<input type='radio' name='norh' value='0'><input type='radio' name='norh' value='1'>"
            "<input type='submit' value='Показать'></form>";
        show(location.toStdString(), body);

        // The page resolves against the location and shows the program's
        // own images and style sheet whatever host the location names.
        QCOMPARE(evaluate(*pane_, "document.baseURI").toString(),
                 QUrl(location).toString(QUrl::FullyEncoded));
        QVERIFY(waitUntil([&] {
            return evaluate(*pane_,
                            "document.images[0].complete && document.images[0].naturalWidth > 0")
                .toBool();
        }));
        QCOMPARE(evaluate(*pane_, "getComputedStyle(document.body).marginTop").toString(),
                 QString("0px"));
        QVERIFY(pageText(*pane_).contains("Ссылка"));

        QCOMPARE(nextLocation([&] { QVERIFY(clickElement(*pane_, "#rel")); }), link);

        show(location.toStdString(), body);
        QCOMPARE(nextLocation([&] {
                     QVERIFY(clickElement(*pane_, "#srav input[value='3']"));
                     QVERIFY(clickElement(*pane_, "#srav input[value='17']"));
                     QVERIFY(clickElement(*pane_, "#srav input[type=submit]"));
                 }),
                 QString("http://srav/?nom=3&nom=17"));

        show(location.toStdString(), body);
        QCOMPARE(nextLocation([&] {
                     QVERIFY(clickElement(*pane_, "#dom input[value='1']"));
                     QVERIFY(clickElement(*pane_, "#dom input[type=submit]"));
                 }),
                 QString("http://dom/?zona=.ru%7C&norh=1"));
    }

    void cataloguesCannotRunScriptsOrMoveThePage() {
        QSignalSpy refused(pane_->page(), &zorbinta::qt::CataloguePage::navigationRefused);
        show(folder_.templ("main.htm?free"),
             "<p id='p'>текст</p><script>document.title = 'ran'; document.getElementById('p')"
             ".textContent = 'ran';</script><img src='none.png' onerror=\"document.title='ran'\">"
             "<meta http-equiv='refresh' content='0; url=space'>");
        const qsizetype before = locations_.size();
        // The engine tries the refresh once the page is in; the page refuses it.
        const QUrl refresh(QString::fromStdString(folder_.templ("space")));
        QVERIFY(waitUntil([&] {
            return std::any_of(refused.begin(), refused.end(), [&](const QList<QVariant>& args) {
                return args[0].toUrl() == refresh;
            });
        }));
        QCOMPARE(locations_.size(), before);
        QCOMPARE(evaluate(*pane_, "document.getElementById('p').textContent").toString(),
                 QString("текст"));
        QVERIFY(evaluate(*pane_, "document.title").toString() != "ran");
    }

    void remoteContentIsNeverRequested() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        int connections = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            ++connections;
            delete server.nextPendingConnection();
        });
        const QString remote = QString("http://127.0.0.1:%1/").arg(server.serverPort());
        show(folder_.templ("main.htm?free"),
             ("<img id='r' src='" + remote + "a.png'><link rel='stylesheet' href='" + remote +
              "s.css'><iframe src='" + remote + "f.htm'></iframe><p>конец</p>")
                 .toStdString());
        QVERIFY(waitUntil([&] {
            return evaluate(*pane_, "document.images[0].naturalWidth > 0").toBool();
        }));  // the logo
        // The document is complete: whatever it asked for has been fetched or
        // refused, so a request that got out has reached the server by now.
        QVERIFY(!server.hasPendingConnections() && !server.waitForNewConnection(0));
        QCOMPARE(connections, 0);
        QVERIFY(pageText(*pane_).contains("конец"));
    }

    void pagesOfAnySizeShowWhole() {
        std::string rows;
        const int count = 50000;
        for (int k = 1; k <= count; ++k) {
            rows += "<tr><td>Тариф " + std::to_string(k) + "</td><td>ещё немного текста</td></tr>";
        }
        const std::string body = "<table id='t'>" + rows + "</table><p id='last'>последний</p>";
        QVERIFY(body.size() > 3'500'000);
        show(folder_.templ("main.htm?free"), body);
        QCOMPARE(evaluate(*pane_, "document.querySelectorAll('#t tr').length").toInt(), count);
        QCOMPARE(evaluate(*pane_, "document.getElementById('last').textContent").toString(),
                 QString("последний"));
        std::string source;
        QVERIFY(pane_->documentSource(source));
        QCOMPARE(source, framed(body));
    }

    void newWindowAndMailLinksOpenOutside() {
        QSignalSpy opened(pane_.get(), &QtBrowserPane::externalLinkRequested);
        show(folder_.templ("main.htm?prov"),
             "<a id='stat' target='new' "
             "href='http://www.zorbinta.ru/stat.php?id=3&amp;type=1&amp;nom=5'>"
             "статистика</a> <a id='mail' href='mailto:support@websfera.ru'>почта</a>");
        const qsizetype before = locations_.size();
        QVERIFY(clickElement(*pane_, "#stat"));
        QVERIFY(waitUntil([&] { return opened.size() == 1; }));
        QVERIFY(clickElement(*pane_, "#mail"));
        QVERIFY(waitUntil([&] { return opened.size() == 2; }));
        QCOMPARE(opened[0][0].toString(),
                 QString("http://www.zorbinta.ru/stat.php?id=3&type=1&nom=5"));
        QCOMPARE(opened[1][0].toString(), QString("mailto:support@websfera.ru"));
        pump(300);
        QCOMPARE(locations_.size(), before);
    }

    void theEnginesOwnHistoryNeverMovesThePage() {
        show(folder_.templ("main.htm?stoim"), "<p>первая</p>");
        show(folder_.templ("main.htm?free"), "<p>вторая</p>");
        const qsizetype before = locations_.size();
        const auto engineHistory = [this] {
            for (const auto action :
                 {QWebEnginePage::Back, QWebEnginePage::Reload, QWebEnginePage::Forward}) {
                pane_->page()->triggerAction(action);
            }
        };
        engineHistory();
        pump(800);
        QCOMPARE(locations_.size(), before);
        QCOMPARE(QString::fromStdString(pane_->locationUrl()),
                 QString::fromStdString(folder_.templ("main.htm?free")));
        QVERIFY(pageText(*pane_).contains("вторая"));

        // Not even while a page is on its way in, which the engine's own
        // history (here the mouse's back button) would otherwise cancel.
        router_ = [this](const std::string&) { return framed("<p>третья</p>"); };
        QTest::mouseClick(pane_->view()->focusProxy(), Qt::BackButton, {}, QPoint(10, 10));
        pane_->navigate(folder_.templ("main.htm?dom"));
        QVERIFY(waitComplete(*pane_));
        QVERIFY(pageText(*pane_).contains("третья"));
    }

    void aLocationNothingIsWrittenForKeepsItsTarget() {
        router_ = nullptr;
        const std::string target = folder_.templ("main.htm");
        pane_->navigate(target);
        QVERIFY(waitComplete(*pane_));
        QCOMPARE(locations_.last(), QString::fromStdString(target));
        QCOMPARE(QUrl(evaluate(*pane_, "location.href").toString()),
                 QUrl(QString::fromStdString(target)));
        QVERIFY(pane_->writtenPage().empty());
        // Saving it saves what the engine shows.
        std::string source;
        QVERIFY(pane_->documentSource(source));
        QVERIFY(source.find("<body") != std::string::npos);
    }

    void aNewNavigationReplacesOneNotYetComplete() {
        router_ = [this](const std::string& location) { return framed("<p>" + location + "</p>"); };
        const qsizetype before = locations_.size();
        pane_->navigate(folder_.templ("main.htm?stoim"));
        pane_->navigate(folder_.templ("main.htm?dom"));
        QVERIFY(!pane_->isComplete());
        QVERIFY(waitComplete(*pane_));
        QCOMPARE(locations_.mid(before),
                 QStringList{QString::fromStdString(folder_.templ("main.htm?dom"))});
        QVERIFY(pageText(*pane_).contains("main.htm?dom"));
    }
};

ZORBINTA_GUI_TEST_MAIN(BrowserPaneTest)
#include "browser_pane_test.moc"
