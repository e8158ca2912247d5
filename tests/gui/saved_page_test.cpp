// SPDX-License-Identifier: GPL-3.0-or-later
// A page saved from the pane opens with readable Cyrillic in a browser whose
// default encoding is another one: the file is Windows-1251 and says so.

#include <QEventLoop>
#include <QPointer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <memory>
#include <optional>

#include "GuiHarness.h"
#include "pages/core/PageOutput.h"
#include "tests/Recording.h"

using zorbinta::gui::kPageWaitMs;
using zorbinta::gui::waitComplete;

class SavedPageTest : public QObject {
    Q_OBJECT

private:
    zorbinta::gui::ProgramFolder folder_;
    const std::string body_ = "<p>Бесплатный хостинг: ёлки, щука, ЪЫЬ</p>";
    QString saved_ = folder_.file("saved.htm");

    // The text a browser with the given default encoding shows for file.
    static QString shownText(const QString& file, const QString& encoding) {
        QWebEngineView view;
        view.settings()->setDefaultTextEncoding(encoding);
        view.resize(600, 400);
        view.show();
        // The timers only end a wait that would otherwise never end.
        std::optional<bool> loaded;
        {
            QEventLoop loop;
            QObject::connect(view.page(), &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
                loaded = ok;
                loop.quit();
            });
            QTimer::singleShot(kPageWaitMs, &loop, &QEventLoop::quit);
            view.load(QUrl::fromLocalFile(file));
            loop.exec();
        }
        if (loaded != true) return "(not loaded)";
        auto text = std::make_shared<std::optional<QString>>();
        QEventLoop loop;
        view.page()->toPlainText([text, guard = QPointer<QEventLoop>(&loop)](const QString& t) {
            *text = t;
            if (guard) guard->quit();
        });
        QTimer::singleShot(kPageWaitMs, &loop, &QEventLoop::quit);
        if (!text->has_value()) loop.exec();
        return text->value_or("(no text)");
    }

private slots:
    void initTestCase() {
        // Saved as the user saves it: the page on show in the pane, to a file.
        QWidget window;
        zorbinta::qt::QtBrowserPane pane(folder_.path());
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(pane.view());
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        pane.setNavigateCompleteHandler([&] {
            zorbinta::ShowPage(pane, zorbinta::LoadPageHead(folder_.path()) + body_ +
                                         zorbinta::LoadPageTail(folder_.path()));
        });
        pane.navigate(folder_.templ("main.htm?free"));
        QVERIFY(waitComplete(pane));
        zorbinta::testing::RecordingMessages messages;
        QCOMPARE(zorbinta::SaveHTMLSourceToFile(pane, messages, saved_.toStdString()),
                 saved_.toStdString());
        QVERIFY(messages.shown.empty());
    }

    void cyrillicIsReadableWhateverTheDefaultEncoding_data() {
        QTest::addColumn<QString>("encoding");
        for (const char* encoding : {"utf-8", "iso-8859-1", "windows-1252", "koi8-r"}) {
            QTest::newRow(encoding) << encoding;
        }
    }
    void cyrillicIsReadableWhateverTheDefaultEncoding() {
        QFETCH(QString, encoding);
        const QString text = shownText(saved_, encoding);
        QVERIFY2(text.contains("Бесплатный хостинг: ёлки, щука, ЪЫЬ"), qPrintable(text));
        // The head's own texts too.
        QVERIFY2(text.contains("Зорбинта"), qPrintable(text));
    }

    // The engine guesses the encoding of a page that names none, so the
    // declaration is checked in the file, and shown to be what decides: the
    // same bytes declared as another encoding come out unreadable.
    void theDeclarationDecides() {
        QByteArray bytes = folder_.read("saved.htm");
        const QByteArray meta =
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";
        QCOMPARE(bytes.count(meta), 1);
        QVERIFY(bytes.indexOf(meta) < bytes.indexOf("<title>"));
        bytes.replace("charset=windows-1251", "charset=iso-8859-1");
        folder_.write("misdeclared.htm", bytes);
        const QString text = shownText(folder_.file("misdeclared.htm"), "windows-1251");
        QVERIFY2(!text.contains("Бесплатный"), qPrintable(text));
    }
};

ZORBINTA_GUI_TEST_MAIN(SavedPageTest)
#include "saved_page_test.moc"
