// The program's windows on the screen, framed by a window manager: the main
// window's frame fills the work area at start and after every dialog, each
// dialog opens whole and centred on the main window's screen, also at a scale
// factor of 2, and the status bar's texts never run into each other.

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>

#include "GuiHarness.h"
#include "about/qt/TForm2.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

namespace {

// Where a window is moved or resized to, other than where it is now.
class Jumps : public QObject {
public:
    explicit Jumps(QWidget& window) : window_(window), at_(window.geometry()) {
        window.installEventFilter(this);
    }
    QList<QRect> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            window_.geometry() != at_) {
            seen << window_.geometry();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
    const QRect at_;
};

// Every control of window on show lies within area.
QStringList controlsOutside(QWidget& window, const QRect& area) {
    QStringList outside;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || control->isWindow()) continue;
        const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
        if (!area.contains(at))
            outside << control->objectName() + " " + control->metaObject()->className();
    }
    return outside;
}

}  // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<DesktopProgram> program_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    QRect area() { return window().screen()->availableGeometry(); }
    bool framed() { return window().frameGeometry() == area(); }

private slots:
    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(folder_.path());
        program_->show();
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
    }
    void cleanup() { cancelModalWatches(); }

    void theFrameFillsTheWorkAreaFromTheStart() {
        QVERIFY(waitUntil([&] { return framed(); }));
        if (qEnvironmentVariableIsSet("ZORBINTA_WINDOW_MANAGER")) {
            // Framed indeed: the caption lies above the window's own area.
            QVERIFY(window().geometry().top() > window().frameGeometry().top());
        }

        // Closing a dialog fits it again, where it already is: no jump.
        Jumps jumps(window());
        onModal([this](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        window().command("N12")->trigger();
        QVERIFY(framed());
        QCOMPARE(jumps.seen, QList<QRect>{});
    }

    void everyDialogOpensWholeAndCentred_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("About box") << "N12";
        QTest::newRow("download dialog") << "N11";
        QTest::newRow("search dialog") << "N6";
        QTest::newRow("save dialog") << "N2";
    }
    void everyDialogOpensWholeAndCentred() {
        QFETCH(QString, command);
        QVERIFY(waitUntil([&] { return framed(); }));
        QString placed;
        onModal([&](QWidget* modal) {
            // Centred once the window manager has framed it.
            auto centred = [&] {
                const QRect frame = modal->frameGeometry();
                return area().contains(frame) &&
                       (frame.center() - area().center()).manhattanLength() <= 3;
            };
            if (!waitUntil(centred)) {
                placed = QString("frame %1,%2 %3x%4")
                             .arg(modal->frameGeometry().x())
                             .arg(modal->frameGeometry().y())
                             .arg(modal->frameGeometry().width())
                             .arg(modal->frameGeometry().height());
            } else {
                placed = controlsOutside(*modal, area()).join(", ");
                if (placed.isEmpty()) placed = "ok";
            }
            QTest::keyClick(modal, Qt::Key_Escape);  // the close box
        });
        window().command(command)->trigger();
        QCOMPARE(placed, QString("ok"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void atScaleFactorTwo() {
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") QSKIP("this is the run at scale 2");
        // The same cases in a program of their own, which scales its screen.
        QProcess scaled;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "2");
        scaled.setProcessEnvironment(env);
        scaled.setProcessChannelMode(QProcess::MergedChannels);
        scaled.start(QCoreApplication::applicationFilePath(),
                     {"theFrameFillsTheWorkAreaFromTheStart", "everyDialogOpensWholeAndCentred"});
        QVERIFY(scaled.waitForFinished(240000));
        QVERIFY2(scaled.exitStatus() == QProcess::NormalExit && scaled.exitCode() == 0,
                 scaled.readAll().constData());
    }

    void theStatusTextsNeverOverlap() {
        // The smallest the window can be made.
        window().resize(1, 1);
        QVERIFY(waitUntil([&] { return window().size() == window().minimumSize(); }));
        QLabel* first = window().statusPanel(0);
        QLabel* second = window().statusPanel(1);
        QVERIFY(first->isVisible() && second->isVisible());
        QVERIFY(!first->geometry().intersects(second->geometry()));
        for (QLabel* panel : {first, second}) {
            QVERIFY(window().statusBar()->rect().contains(panel->geometry()));
            QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <
                    panel->contentsRect().width());
        }
        // The next activation fits it again.
        onModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        window().command("N12")->trigger();
        QVERIFY(waitUntil([&] { return framed(); }));
    }
};

ZORBINTA_GUI_TEST_MAIN(ScreenFitTest)
#include "screen_fit_test.moc"
