// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop program's tests share: a private copy of the installed
// program folder, the engine set up for a machine without a GPU, waits on
// the real web engine, clicks on page elements with the real mouse, and
// answers for modal windows.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <functional>
#include <memory>
#include <string>

#include "pages/qt/CataloguePage.h"
#include "pages/qt/QtBrowserPane.h"

#ifndef ZORBINTA_APP_DIR
#error "ZORBINTA_APP_DIR names the built program folder"
#endif

namespace zorbinta::gui {

// Every wait ends at its event; this bound only stops one that never comes.
// It leaves room for a machine shared with much else: a page of several
// megabytes then takes the engine well over 20 s.
inline constexpr int kPageWaitMs = 90000;

// Before QApplication: the engine's sandbox (refused as root), flags for a
// display without a GPU, and the pane's own schemes.
inline void prepareEngine() {
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                "--disable-gpu --disable-background-networking --disable-component-update");
    }
    zorbinta::qt::registerPaneSchemes();
}

// A copy of the built program folder's data (templ/, image/, style.css,
// base.db) in a directory of its own, removed with the object.
class ProgramFolder {
public:
    // where: a folder inside the temporary one, for paths with spaces and
    // letters that addresses escape.
    explicit ProgramFolder(const QString& where = {}) {
        if (!where.isEmpty()) {
            QDir(dir_.path()).mkpath(where);
            base_ = dir_.path() + "/" + where;
        }
        const QDir app(ZORBINTA_APP_DIR);
        copyTree(app.filePath("templ"), file("templ"));
        copyTree(app.filePath("image"), file("image"));
        QFile::copy(app.filePath("style.css"), file("style.css"));
        QFile::copy(app.filePath("base.db"), file("base.db"));
    }
    // ProgramDir: the folder with a trailing "/".
    std::string path() const { return QDir(base_).absolutePath().toStdString() + "/"; }
    QString file(const QString& name) const { return QDir(base_).filePath(name); }
    // "file://" + ProgramDir + "templ/" + rest.
    std::string templ(const std::string& rest) const {
        return "file://" + path() + "templ/" + rest;
    }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(name));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    static void copyTree(const QString& from, const QString& to) {
        QDir().mkpath(to);
        for (const QString& name : QDir(from).entryList(QDir::Files)) {
            QFile::copy(from + "/" + name, to + "/" + name);
        }
    }
    QTemporaryDir dir_;
    QString base_ = dir_.path();
};

// Addresses the program hands to the desktop's default programs, caught
// instead of opening a browser, a mail program, a file or a share.
class OpenedLinks : public QObject {
    Q_OBJECT
public:
    OpenedLinks() {
        for (const char* scheme : kSchemes) {
            QDesktopServices::setUrlHandler(scheme, this, "open");
        }
    }
    ~OpenedLinks() override {
        for (const char* scheme : kSchemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QStringList urls;

public slots:
    void open(const QUrl& url) { urls << url.toString(); }

private:
    static constexpr const char* kSchemes[] = {"http", "https", "mailto", "file", "smb"};
};

// Waits for done() with the event loop running freely. (QTest's own waits
// sleep between rounds of events, which starves the engine's message pump.)
inline bool waitUntil(const std::function<bool()>& done, int ms = kPageWaitMs) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return done();
}

// Lets the program run for ms milliseconds.
inline void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline bool waitComplete(zorbinta::qt::QtBrowserPane& pane, int ms = kPageWaitMs) {
    return waitUntil([&] { return pane.isComplete(); }, ms);
}

// Runs a script in the page (in the program's own world: page scripts stay
// off) and waits for its value.
inline QVariant evaluate(zorbinta::qt::QtBrowserPane& pane, const QString& script) {
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    pane.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                               [result](const QVariant& v) {
                                   *result = {true, v};
                               });
    if (!waitUntil([&] { return result->first; })) return {};
    return result->second;
}

inline QString pageText(zorbinta::qt::QtBrowserPane& pane) {
    return evaluate(pane, "document.body ? document.body.innerText : ''").toString();
}

// Clicks the nth element matching selector with the mouse, at its centre.
inline bool clickElement(zorbinta::qt::QtBrowserPane& pane, const QString& selector, int nth = 0) {
    const QVariant rect =
        evaluate(pane, QString(R"(
        (function() {
            const all = document.querySelectorAll(%1);
            if (all.length <= %2) return null;
            const e = all[%2];
            e.scrollIntoView({block: 'center', inline: 'center'});
            const r = e.getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];
        })())")
                           .arg(QString("'%1'").arg(QString(selector).replace("'", "\\'")))
                           .arg(nth));
    const QVariantList xy = rect.toList();
    if (xy.size() != 2) return false;
    QWidget* target = pane.view()->focusProxy();
    if (target == nullptr) return false;
    const QPoint at(qRound(xy[0].toDouble()), qRound(xy[1].toDouble()));
    QTest::mouseMove(target, at);
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

// The owner of the watches onModal() starts, so a test can drop its own.
inline QObject& modalWatches() {
    static QObject owner;
    return owner;
}
inline void cancelModalWatches() {
    for (QObject* watch : modalWatches().children()) delete watch;
}

// Runs action on the next modal window once it is on show. It must have been
// on show for a few rounds of events: a dialog closed while its show() is
// still under way would leave its exec() waiting for ever.
inline void onModal(const std::function<void(QWidget*)>& action, QWidget* notThis = nullptr) {
    auto* timer = new QTimer(&modalWatches());
    const QDeadlineTimer deadline(kPageWaitMs);
    auto seen = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool shown = modal != nullptr && modal != notThis && modal->isVisible();
        *seen = shown ? *seen + 1 : 0;
        if (*seen >= 3) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

// Makes window the active window, as the user's click on it would; keyboard
// shortcuts work only there.
inline bool activate(QWidget& window) {
    window.raise();
    window.activateWindow();
    if (!waitUntil([&] { return QApplication::activeWindow() == &window; }, 2000)) {
        QApplication::setActiveWindow(&window);
    }
    return QApplication::activeWindow() == &window;
}

}  // namespace zorbinta::gui

// One Qt Test program: the engine prepared before the application exists.
#define ZORBINTA_GUI_TEST_MAIN(TestClass)               \
    int main(int argc, char** argv) {                   \
        zorbinta::gui::prepareEngine();                 \
        QApplication app(argc, argv);                   \
        QApplication::setQuitOnLastWindowClosed(false); \
        TestClass test;                                 \
        return QTest::qExec(&test, argc, argv);         \
    }
