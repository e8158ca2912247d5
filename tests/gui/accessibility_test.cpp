// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a screen reader sees it: its accessible tree read through
// AT-SPI by a separate process (run on a session bus of its own), as Orca
// reads it. The page's own content is in the tree; every control the
// keyboard reaches has a name, and no two controls of a dialog share one.

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>

#include "GuiHarness.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/DesktopStart.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;

namespace {

struct Node {
    QString window, role, name, text;
    bool focusable = false;
};

QString describe(const Node& n) {
    return n.window + " / " + n.role + " \"" + n.name + "\"";
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<zorbinta::qt::DesktopProgram> program_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }

    // The tree as the reader process finds it, the program answering meanwhile.
    QList<Node> tree() {
        QProcess reader;
        // Debian's Python, which python3-pyatspi is for.
        reader.start("/usr/bin/python3", {ZORBINTA_SOURCE_DIR "/tests/gui/atspi_tree.py",
                                          QString::number(QCoreApplication::applicationPid())});
        if (!waitUntil([&] { return reader.state() == QProcess::NotRunning; })) {
            reader.kill();
            reader.waitForFinished();
        }
        if (reader.exitCode() != 0) qWarning() << reader.readAllStandardError().left(2000);
        QList<Node> nodes;
        for (const QByteArray& line : reader.readAllStandardOutput().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            if (o.isEmpty()) continue;
            nodes << Node{o["window"].toString(), o["role"].toString(), o["name"].toString(),
                          o["text"].toString(), o["focusable"].toBool()};
        }
        return nodes;
    }
    // The tree of one window, once the reader finds it (the program makes
    // itself known to the registry as it starts).
    QList<Node> windowTree(const QString& window) {
        QList<Node> out;
        waitUntil([&] {
            out.clear();
            for (const Node& n : tree())
                if (n.window == window) out << n;
            return !out.isEmpty();
        });
        return out;
    }
    // The focusable controls of window without a name, and those whose
    // name another control of it shares.
    static QStringList faults(const QList<Node>& nodes, bool namesUnique) {
        QStringList bad;
        QHash<QString, int> seen;
        for (const Node& n : nodes) {
            if (!n.focusable) continue;
            if (n.name.trimmed().isEmpty()) bad << "unnamed: " + describe(n);
            if (namesUnique && seen[n.role + "|" + n.name]++ == 1)
                bad << "named twice: " + describe(n);
        }
        return bad;
    }

private slots:
    void initTestCase() {
        program_ =
            std::make_unique<zorbinta::qt::DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        program_->show();
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
        QVERIFY(waitComplete(program_->pane()));
        // Shown, so that the tree has its names and buttons.
        window().command("ToolButton3")->trigger();
    }
    void cleanup() { cancelModalWatches(); }

    void thePageIsInTheTree() {
        // The engine builds the page's tree once a reader asks for it.
        bool heading = false;
        bool cell = false;
        QVERIFY(waitUntil([&] {
            for (const Node& n : tree()) {
                heading |= n.role == "heading" &&
                           (n.name + n.text).contains("Каталог хостинг-провайдеров");
                cell |= n.role == "table cell";
            }
            return heading && cell;
        }));
    }

    void theMainWindowNamesEveryControl() {
        const QList<Node> nodes = windowTree(window().windowTitle());
        QVERIFY(!nodes.isEmpty());
        const QStringList bad = faults(nodes, false);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        QStringList names;
        for (const Node& n : nodes) names << n.name;
        for (const char* name : {"Хостинг-провайдеры", "Закрыть", "Строка состояния"})
            QVERIFY2(names.contains(name), name);
    }

    void everyDialogNamesItsControlsOnce_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"N6", "N12", "N11"}) QTest::newRow(command) << command;
    }
    void everyDialogNamesItsControlsOnce() {
        QFETCH(QString, command);
        QList<Node> nodes;
        QString title;
        onModal([&](QWidget* dialog) {
            title = dialog->windowTitle();
            nodes = windowTree(title);
            dialog->close();
        });
        window().command(command)->trigger();
        QVERIFY2(!nodes.isEmpty(), qPrintable(title));
        const QStringList bad = faults(nodes, true);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        if (command == "N6") {
            QStringList names;
            for (const Node& n : nodes) names << n.name;
            QVERIFY(names.contains("Трафик: неогр."));
        }
        if (command == "N12") {
            int links = 0;
            for (const Node& n : nodes) links += n.role == "link" && n.focusable;
            QCOMPARE(links, 2);
        }
    }
};

int main(int argc, char** argv) {
    // As the program starts, and with the bridge to AT-SPI on whether or not
    // a screen reader has said it runs.
    zorbinta::qt::prepareDesktopEnvironment();
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    prepareEngine();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    AccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "accessibility_test.moc"
