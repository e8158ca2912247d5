// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-click-floor: the floor a click in the program is measured
// against: a bare web view (off the record, JavaScript off) of the page
// area's size over the same spot, that follows a link from one static page
// to a static copy of the page the program shows for that click. Driven one
// line at a time from standard input, as zorbinta-click-bench is:
//
//   load FILE       shows the file, "at X Y" once it has loaded: the centre
//                   on the screen of its link to floor-to.htm
//   show / hide     puts the view over the program or takes it away, "ok"
//   place X Y W H   moves the view there (the page area moves when the
//                   provider panel is shown), "ok"
//
//   zorbinta-click-floor X Y W H

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int kWaitMs = 60000;

// Runs the event loop until done() holds (or the wait gives up).
bool waitFor(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    poll.start(5);
    if (!done()) loop.exec();
    return done();
}

QString linkCentre(QWebEngineView& view) {
    auto reply = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    view.page()->runJavaScript(
        "(function() { const e = document.querySelector('a[href=\"floor-to.htm\"]');"
        " if (!e) return null; e.scrollIntoView({block: 'center'});"
        " const r = e.getBoundingClientRect();"
        " return [r.left + r.width / 2, r.top + r.height / 2]; })()",
        QWebEngineScript::ApplicationWorld, [reply](const QVariant& v) {
            *reply = {true, v};
        });
    if (!waitFor([&] { return reply->first; })) return "error no answer";
    const QVariantList xy = reply->second.toList();
    if (xy.size() != 2) return "error no link";
    const QPoint p = view.mapToGlobal(QPoint(qRound(xy[0].toDouble()), qRound(xy[1].toDouble())));
    return QString("at %1 %2").arg(p.x()).arg(p.y());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: zorbinta-click-floor X Y W H\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    QWebEngineProfile profile;  // off the record
    QWebEnginePage page(&profile);
    page.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    QWebEngineView view;
    view.setPage(&page);
    // Over the program's page area, never taking the keyboard from it.
    view.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                        Qt::WindowDoesNotAcceptFocus);
    view.setAttribute(Qt::WA_ShowWithoutActivating);
    view.setGeometry(QString(argv[1]).toInt(), QString(argv[2]).toInt(), QString(argv[3]).toInt(),
                     QString(argv[4]).toInt());
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &app, [&](bool) { loaded = true; });

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        input.setEnabled(false);
        std::string line;
        if (!std::getline(std::cin, line)) {
            QApplication::exit(0);
            return;
        }
        const QString text = QString::fromStdString(line).trimmed();
        QString reply = "error unknown line " + text;
        if (text.startsWith("load ")) {
            loaded = false;
            view.load(QUrl::fromLocalFile(text.mid(5)));
            reply = waitFor([&] { return loaded; }) ? linkCentre(view) : "error not loaded";
        } else if (text == "show") {
            view.show();
            view.raise();
            reply = waitFor([&] { return view.isVisible(); }) ? "ok" : "error not shown";
        } else if (text.startsWith("place ")) {
            const QStringList v = text.split(' ');
            if (v.size() == 5) {
                view.setGeometry(v[1].toInt(), v[2].toInt(), v[3].toInt(), v[4].toInt());
                reply = "ok";
            }
        } else if (text == "hide") {
            view.hide();
            reply = "ok";
        }
        std::printf("%s\n", qPrintable(reply));
        std::fflush(stdout);
        input.setEnabled(true);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}
