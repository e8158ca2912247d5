// SPDX-License-Identifier: GPL-3.0-or-later
// zorbinta-click-bench: the desktop program on a folder, driven one line at
// a time from standard input, so that a timer outside it (tools/click_timer.py)
// can put it in a state, click or type with the real X server's input and
// watch the screen. It answers each line with one line:
//
//   activate              makes the main window the active one, "ok"
//   pane                  "at X Y W H": the page area on the screen
//   go REL                navigates to file://DIR/templ/REL, "ok" once shown
//   trigger NAME          runs the main window's command NAME (not one that
//                         opens a dialog), "ok" once its page is shown
//   link SELECTOR         "at X Y": the centre of the page's element on the
//                         screen (scrolled into view first)
//   menu NAME             "at X Y": the menu bar's title of menu NAME
//   item NAME             "at X Y": the item NAME once its menu is open
//   row N                 "at X Y" and the text: item N of the provider list
//   search                closes the search dialog with "Найти" and shows
//                         its results, "ok"
//   modal                 "ok" once a dialog is open and on show
//   idle                  "ok" once no dialog is open and the pane has its
//                         page on show
//   location              "at URL": the pane's location
//   written FILE          writes the page on show (UTF-8) to FILE, "ok"
//
// Anything that goes wrong answers "error TEXT".

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"
#include "tests/gui/GuiHarness.h"

namespace {

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

QString at(QPoint p) {
    return QString("at %1 %2").arg(p.x()).arg(p.y());
}

class Driver {
public:
    Driver(DesktopProgram& program, QString dir) : program_(program), dir_(std::move(dir)) {}

    QString answer(const QString& line) {
        const QString word = line.section(' ', 0, 0);
        const QString rest = line.section(' ', 1);
        auto& window = program_.mainWindow();
        auto& pane = program_.pane();
        if (word == "activate") return activate(window) ? "ok" : "error not active";
        if (word == "pane") {
            QWidget* view = pane.view();
            const QPoint corner = view->mapToGlobal(QPoint(0, 0));
            return at(corner) + QString(" %1 %2").arg(view->width()).arg(view->height());
        }
        if (word == "go") {
            pane.navigate("file://" + dir_.toStdString() + "templ/" + rest.toStdString());
            return shown() ? "ok" : "error no page";
        }
        if (word == "trigger") {
            QAction* action = window.command(rest);
            if (action == nullptr) return "error no command " + rest;
            action->trigger();
            return shown() ? "ok" : "error no page";
        }
        if (word == "link") {
            const QVariantList xy =
                evaluate(pane, QString("(function() { const e = document.querySelector(%1);"
                                       " if (!e) return null; e.scrollIntoView({block: 'center'});"
                                       " const r = e.getBoundingClientRect();"
                                       " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                                   .arg("'" + QString(rest).replace("'", "\\'") + "'"))
                    .toList();
            if (xy.size() != 2) return "error no element " + rest;
            return at(pane.view()->mapToGlobal(
                QPoint(qRound(xy[0].toDouble()), qRound(xy[1].toDouble()))));
        }
        if (word == "menu" || word == "item") return menuPlace(word == "item", rest);
        if (word == "row") {
            QListWidget* list = window.providerList();
            QListWidgetItem* item = list->item(rest.toInt());
            if (item == nullptr || !list->isVisible()) return "error no row " + rest;
            const QRect r = list->visualItemRect(item);
            return at(list->viewport()->mapToGlobal(r.center())) + " " + item->text();
        }
        if (word == "search") {
            onModal([this](QWidget*) { program_.searchDialog().findButton()->click(); });
            window.command("N6")->trigger();
            return shown() ? "ok" : "error no page";
        }
        if (word == "modal") {
            return waitUntil([] {
                QWidget* modal = QApplication::activeModalWidget();
                return modal != nullptr && modal->isVisible();
            })
                       ? "ok"
                       : "error no dialog";
        }
        if (word == "idle") {
            return waitUntil([] { return QApplication::activeModalWidget() == nullptr; }) && shown()
                       ? "ok"
                       : "error not idle";
        }
        if (word == "location") return "at " + QString::fromStdString(pane.locationUrl());
        if (word == "written") {
            QFile out(rest);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return "error " + rest;
            out.write(pane.writtenPage().c_str(), qint64(pane.writtenPage().size()));
            return "ok";
        }
        return "error unknown line " + line;
    }

private:
    // The pane has completed and the engine has its page on show.
    bool shown() { return waitComplete(program_.pane()); }

    QString menuPlace(bool item, const QString& name) {
        QMenuBar* bar = program_.mainWindow().menuBar();
        for (QAction* top : bar->actions()) {
            QMenu* menu = top->menu();
            if (menu == nullptr) continue;
            if (!item && menu->objectName() == name) {
                return at(bar->mapToGlobal(bar->actionGeometry(top).center()));
            }
            for (QAction* a : menu->actions()) {
                if (!item || a->objectName() != name) continue;
                if (!waitUntil([&] { return menu->isVisible(); })) return "error menu closed";
                return at(menu->mapToGlobal(menu->actionGeometry(a).center()));
            }
        }
        return "error no menu " + name;
    }

    DesktopProgram& program_;
    QString dir_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbinta-click-bench DIR\n");
        return 2;
    }
    prepareEngine();
    QApplication app(argc, argv);
    QString dir = QString::fromLocal8Bit(argv[1]);
    if (!dir.endsWith('/')) dir += '/';
    DesktopProgram program(zorbinta::ProgramFiles(dir.toStdString()));
    program.show();
    if (!waitUntil([&] { return program.pane().hasDocument() && waitComplete(program.pane()); })) {
        std::fprintf(stderr, "zorbinta-click-bench: no start page\n");
        return 1;
    }
    Driver driver(program, dir);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        input.setEnabled(false);
        std::string line;
        if (!std::getline(std::cin, line)) {
            QApplication::exit(0);
            return;
        }
        const QString reply = driver.answer(QString::fromStdString(line).trimmed());
        std::printf("%s\n", qPrintable(reply));
        std::fflush(stdout);
        input.setEnabled(true);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}
