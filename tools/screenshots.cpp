// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-screenshots: runs the desktop program on a copy of its folder,
// shows its start page, walks through the search, a provider's card and a
// comparison, the changes against an earlier catalogue, the cost of a site,
// the near misses of the search and its unbeaten plans, and saves a picture
// of each; with --bench it reports how long the program took from its start
// to the first page on show.
//
//   zorbinta-screenshots OUTDIR      writes start.png, results.png,
//                                    provider.png, comparison.png,
//                                    search.png, changes.png, cost.png,
//                                    nearmiss.png, unbeaten.png
//   zorbinta-screenshots --bench     prints "window_ms=N first_page_ms=M",
//                                    counted from ZORBINTA_BENCH_T0 (ns since
//                                    the epoch) when it is set

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTextStream>
#include <cstdio>

#include "about/qt/TForm2.h"
#include "pages/core/PageOutput.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"
#include "tests/gui/GuiHarness.h"

namespace {

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

qint64 sinceStart(qint64 startNs) {
    return (QDateTime::currentMSecsSinceEpoch() * 1000000 - startNs) / 1000000;
}

bool fail(const char* what) {
    std::fprintf(stderr, "zorbinta-screenshots: %s\n", what);
    return false;
}

// The screen as the user sees it, the open dialog over the main window.
bool saveScreen(const QString& path) {
    pump(400);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (shot.isNull() || !shot.save(path)) return fail("cannot save a picture");
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool started(DesktopProgram& program) {
    program.show();
    return waitUntil([&] {
        return !program.mainWindow().statusPanel(0)->text().isEmpty() &&
               program.pane().isComplete();
    });
}

// The sample catalogue as it stood before, where a download would have left it.
bool writeEarlierCatalogue(const ProgramFolder& folder) {
    QProcess generator;
    generator.start("python3", {ZORBINTA_SOURCE_DIR "/scripts/gen_catalogue.py", "--sample",
                                "--earlier", folder.file("base.db.prev")});
    return generator.waitForFinished(60000) && generator.exitCode() == 0;
}

bool shoot(const QString& outDir) {
    ProgramFolder folder;
    if (!writeEarlierCatalogue(folder)) return fail("cannot write base.db.prev");
    DesktopProgram program(zorbinta::ProgramFiles(folder.path()));
    if (!started(program)) return fail("the program did not start");
    auto& pane = program.pane();
    auto& main = program.mainWindow();

    // The start page, once the window with its frame fills the work area.
    if (!waitUntil([&] { return main.frameGeometry() == main.screen()->availableGeometry(); })) {
        return fail("the window does not fill the work area");
    }
    if (!waitComplete(pane) || !saveScreen(outDir + "/start.png")) return false;

    // A search with a few bounds and options, and its results.
    onModal([&](QWidget*) {
        auto& dialog = program.searchDialog();
        dialog.edit(1)->setText("10");
        dialog.edit(6)->setText("15");
        dialog.checkBox(5)->setChecked(true);
        dialog.checkBox(8)->setChecked(true);
        dialog.findButton()->click();
    });
    main.command("N6")->trigger();
    if (!waitComplete(pane) || !saveScreen(outDir + "/results.png")) return false;

    // Two plans ticked and compared.
    if (!clickElement(pane, "input[name=nom]", 0) || !clickElement(pane, "input[name=nom]", 2) ||
        !clickElement(pane, "input[type=submit]")) {
        return fail("no compare form on the results page");
    }
    if (!waitUntil([&] { return pane.locationUrl().rfind("http://srav/?nom=", 0) == 0; }) ||
        !waitComplete(pane) || !saveScreen(outDir + "/comparison.png")) {
        return false;
    }

    // A provider's card from the provider list.
    main.command("N8")->trigger();
    QListWidget* list = main.providerList();
    if (list->count() == 0) return fail("the provider list is empty");
    const int row = qMin(3, list->count() - 1);
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    if (!waitComplete(pane) || !saveScreen(outDir + "/provider.png")) return false;

    // The search dialog opened again over the card: it keeps what was asked.
    bool searched = false;
    onModal([&](QWidget*) {
        searched = saveScreen(outDir + "/search.png");
        program.searchDialog().cancelButton()->click();
    });
    main.command("N6")->trigger();
    if (!searched || !waitComplete(pane)) return false;

    // What the catalogue brought against the one before it, the provider
    // panel hidden again and the page turned to its lists of plans.
    main.command("N8")->trigger();
    main.command("N16")->trigger();
    if (!waitComplete(pane)) return false;
    evaluate(pane, "document.querySelectorAll('h4')[3].scrollIntoView()");
    if (!saveScreen(outDir + "/changes.png")) return false;

    // What a site on the plans of the search costs over three years with a
    // .ru domain.
    main.command("N22")->trigger();
    if (!waitComplete(pane)) return false;
    evaluate(pane,
             "document.querySelector('select[name=n]').value = '3';"
             "document.querySelector('input[name=s]').checked = true");
    if (!clickElement(pane, "input[type=submit][value='Рассчитать']")) {
        return fail("no cost form on the cost page");
    }
    if (!waitUntil([&] { return pane.locationUrl().find("itog?z=") != std::string::npos; }) ||
        !waitComplete(pane)) {
        return false;
    }
    if (!saveScreen(outDir + "/cost.png")) return false;

    // What nearly fits the search made above, and what nothing beats.
    main.command("N20")->trigger();
    if (!waitComplete(pane) || !saveScreen(outDir + "/nearmiss.png")) return false;
    // A wider search, by price alone, so that the chart has beaten plans too.
    onModal([&](QWidget*) {
        auto& dialog = program.searchDialog();
        dialog.edit(1)->clear();
        dialog.edit(6)->setText("40");
        dialog.checkBox(5)->setChecked(false);
        dialog.checkBox(8)->setChecked(false);
        dialog.findButton()->click();
    });
    main.command("N6")->trigger();
    if (!waitComplete(pane)) return false;
    main.command("N21")->trigger();
    return waitComplete(pane) && saveScreen(outDir + "/unbeaten.png");
}

bool bench() {
    const qint64 t0 = qEnvironmentVariableIsSet("ZORBINTA_BENCH_T0")
                          ? qEnvironmentVariable("ZORBINTA_BENCH_T0").toLongLong()
                          : QDateTime::currentMSecsSinceEpoch() * 1000000;
    ProgramFolder folder;
    DesktopProgram program(zorbinta::ProgramFiles(folder.path()));
    if (!started(program)) return fail("the program did not start");
    const qint64 window = sinceStart(t0);
    // The first page as the search command shows it.
    zorbinta::NavigateToCommand(program.pane(), folder.path(), "stoim", zorbinta::Wait::AndFocus);
    pump(0);
    std::printf("window_ms=%lld first_page_ms=%lld\n", static_cast<long long>(window),
                static_cast<long long>(sinceStart(t0)));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    prepareEngine();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zorbinta-screenshots OUTDIR | --bench\n");
        return 2;
    }
    if (args[0] == "--bench") return bench() ? 0 : 1;
    QDir().mkpath(args[0]);
    return shoot(QDir(args[0]).absolutePath()) ? 0 : 1;
}
