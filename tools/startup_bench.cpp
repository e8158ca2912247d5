// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-startup-bench: how long the desktop program takes from its start
// to its start page on show, and how long a bare web view takes to show the
// same page in a window of the same size under the same display: the floor
// the program's start is measured against. Both count from
// ZORBINTA_BENCH_T0 (ns since the epoch, taken just before the process was
// started) and stop at the same event: the page has finished loading and the
// engine's picture of it has been painted once after that.
//
//   zorbinta-startup-bench program DIR [PAGE]   starts the program as its
//       executable does, on the folder DIR; prints "start_page_ms=N" and
//       writes the document the engine was given into PAGE
//   zorbinta-startup-bench floor PAGE           shows PAGE in a bare web view
//       (an off-the-record profile, as the program's) that fills the
//       screen's work area, as the program's window does; prints
//       "start_page_ms=N"
//
// With ZORBINTA_BENCH_TRACE set, both print their milestones to stderr.

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QScreen>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "pages/qt/QtBrowserPane.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/DesktopStart.h"

namespace {

qint64 startNs() {
    static const qint64 t0 = qEnvironmentVariableIsSet("ZORBINTA_BENCH_T0")
                                 ? qEnvironmentVariable("ZORBINTA_BENCH_T0").toLongLong()
                                 : QDateTime::currentMSecsSinceEpoch() * 1000000;
    return t0;
}

qint64 sinceStart() {
    return (QDateTime::currentMSecsSinceEpoch() * 1000000 - startNs()) / 1000000;
}

void milestone(const char* what) {
    if (qEnvironmentVariableIsSet("ZORBINTA_BENCH_TRACE")) {
        std::fprintf(stderr, "%6lld ms  %s\n", static_cast<long long>(sinceStart()), what);
    }
}

// Calls shown once the view's first page has loaded and the engine's picture
// of it (the view's child that takes its focus) has painted after that.
class ShownWatch final : public QObject {
public:
    ShownWatch(QWebEngineView& view, std::function<void()> shown)
        : view_(view), shown_(std::move(shown)) {
        connect(view.page(), &QWebEnginePage::loadStarted, this,
                [] { milestone("page load started"); });
        connect(view.page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
            milestone(ok ? "page loaded" : "page failed");
            if (!ok || loaded_) return;
            loaded_ = true;
            if (QWidget* picture = view_.focusProxy()) {
                picture->installEventFilter(this);
                picture->update();
            }
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (loaded_ && !done_ && event->type() == QEvent::Paint) {
            done_ = true;
            watched->removeEventFilter(this);
            milestone("page painted");
            shown_();
        }
        return false;
    }

private:
    QWebEngineView& view_;
    std::function<void()> shown_;
    bool loaded_ = false;
    bool done_ = false;
};

void report() {
    std::printf("start_page_ms=%lld\n", static_cast<long long>(sinceStart()));
    std::fflush(stdout);
}

int runProgram(int argc, char** argv, const std::string& dir, const QString& pageFile) {
    std::unique_ptr<ShownWatch> watch;
    return zorbinta::qt::runDesktopProgram(
        argc, argv, dir, [&](zorbinta::qt::DesktopProgram& program) {
            milestone("windows built");
            auto& pane = program.pane();
            watch = std::make_unique<ShownWatch>(*pane.view(), [&pane, pageFile] {
                report();
                if (!pageFile.isEmpty()) {
                    QFile out(pageFile);
                    const QUrl location(QString::fromStdString(pane.locationUrl()));
                    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                        out.write(zorbinta::qt::framedDocument(pane.writtenPage(), location));
                    }
                }
                QApplication::exit(0);
            });
        });
}

int runFloor(int argc, char** argv, const QString& pageFile) {
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QApplication app(argc, argv);
    milestone("application made");
    // Off the record, as the program's pane is: a profile on disk would cost
    // the floor time the program does not spend.
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    QWebEngineView view;
    view.setPage(&page);
    view.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    ShownWatch watch(view, [] {
        report();
        QApplication::exit(0);
    });
    view.load(QUrl::fromLocalFile(pageFile));
    view.show();
    milestone("view shown");
    return QApplication::exec();
}

int usage() {
    std::fprintf(stderr, "usage: zorbinta-startup-bench program DIR [PAGE] | floor PAGE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    startNs();
    milestone("main");
    if (argc == 3 && std::strcmp(argv[1], "floor") == 0) return runFloor(argc, argv, argv[2]);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "program") == 0) {
        return runProgram(argc, argv, argv[2], argc == 4 ? QString(argv[3]) : QString());
    }
    return usage();
}
