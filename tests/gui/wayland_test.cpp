// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program on a Wayland compositor (weston, started by
// scripts/on-display --wayland): the main window asks to be maximized and
// so stays whole below the compositor's panel, and a search and a dialog
// work there. Screenshots of the run are left beside the test, their paths
// in its log.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "GuiHarness.h"
#include "about/qt/TForm2.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;

class WaylandTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<zorbinta::qt::DesktopProgram> program_;
    QString shots_ = QCoreApplication::applicationDirPath() + "/wayland-screenshots";

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }
    QRect output() { return window().screen()->geometry(); }
    bool maximizedAndWhole() {
        if (!window().isMaximized()) return false;
        // Sized by the compositor: as wide as the output and shorter, below
        // its panel; the status bar at the window's foot.
        const QRect bar(window().statusBar()->mapTo(&window(), QPoint(0, 0)),
                        window().statusBar()->size());
        return window().frameGeometry().width() == output().width() &&
               window().frameGeometry().height() < output().height() &&
               window().rect().contains(bar) && bar.bottom() >= window().height() - 2;
    }
    QString state() {
        const QRect f = window().frameGeometry();
        return QString("state %1, frame %2x%3, output %4x%5")
            .arg(int(window().windowState()))
            .arg(f.width())
            .arg(f.height())
            .arg(output().width())
            .arg(output().height());
    }
    // The whole output as the compositor shows it, saved as name.
    void screenshot(const QString& name) {
        // The windows drawn as they are now and handed to the compositor
        // before the screenshot is asked for.
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (shown->isVisible()) shown->repaint();
        QCoreApplication::processEvents();
        QDir().mkpath(shots_);
        QProcess shooter;
        shooter.setWorkingDirectory(shots_);
        const QStringList before = QDir(shots_).entryList({"wayland-screenshot-*.png"});
        shooter.start("weston-screenshooter", {});
        QVERIFY(waitUntil([&] { return shooter.state() == QProcess::NotRunning; }));
        QCOMPARE(shooter.exitCode(), 0);
        for (const QString& file : QDir(shots_).entryList({"wayland-screenshot-*.png"})) {
            if (before.contains(file)) continue;
            QFile::remove(shots_ + "/" + name);
            QVERIFY(QFile::rename(shots_ + "/" + file, shots_ + "/" + name));
            qInfo("screenshot: %s", qPrintable(shots_ + "/" + name));
            return;
        }
        QFAIL("weston-screenshooter saved nothing");
    }

private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName().startsWith("wayland"),
                 "run through scripts/on-display --wayland");
        program_ =
            std::make_unique<zorbinta::qt::DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        program_->show();
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
        QVERIFY(waitComplete(pane()));
    }
    void cleanup() { cancelModalWatches(); }

    void theWindowIsMaximizedAndWhole() {
        QVERIFY2(waitUntil([&] { return maximizedAndWhole(); }), qPrintable(state()));
        screenshot("main.png");
    }

    void aSearchAndADialogWork() {
        onModal([this](QWidget*) {
            screenshot("search.png");
            program_->searchDialog().findButton()->click();
        });
        window().command("N6")->trigger();
        QVERIFY(waitComplete(pane()));
        QCOMPARE(QString::fromStdString(pane().locationUrl()),
                 QString::fromStdString(folder_.templ("main.htm?stoim")));
        QVERIFY(pageText(pane()).contains("Найдено:"));

        // Unmaximized by the user, and fitted again as a dialog closes.
        window().showNormal();
        QVERIFY(waitUntil([&] { return !window().isMaximized(); }));
        bool shown = false;
        onModal([&](QWidget* about) {
            shown = about == &program_->aboutBox();
            screenshot("about.png");
            about->close();
        });
        window().command("N12")->trigger();
        QVERIFY(shown);
        QVERIFY2(waitUntil([&] { return maximizedAndWhole(); }), qPrintable(state()));
    }
};

ZORBINTA_GUI_TEST_MAIN(WaylandTest)
#include "wayland_test.moc"
