// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a screen a window manager frames: the main window's frame
// fills the work area, every dialog opens whole and centred, also at a scale
// factor of 2, and the status texts never meet. And the program without the
// mouse: Enter and Escape in the dialogs, Alt+letter, the provider list, zoom.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <memory>

#include <xcb/xcb.h>

#include "GuiHarness.h"
#include "search/qt/TForm4.h"
#include "shell/core/MainCommands.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/QtServices.h"
#include "shell/qt/TForm1.h"
#include "tests/LocalHttpServer.h"

using namespace zorbinta::gui;

namespace {

// A key as the user presses it in window, to whatever has the focus there; a
// letter of another script comes with its text, as the keyboard sends it.
void press(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    if (key < 0x80 || key > 0xffff) return QTest::keyClick(to, Qt::Key(key), modifiers);
    QTest::sendKeyEvent(QTest::Click, to, Qt::Key(key), QString(QChar(key).toLower()), modifiers);
}

// The key of the letter a text marks with "&".
int mnemonic(const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at < 0 ? 0 : text[at + 1].toUpper().unicode();
}

// How window's frame is offered, from its X11 properties: what the program
// asks for (_MOTIF_WM_HINTS, which window managers that draw buttons by it
// read) and whether the window manager lets it be closed. For example
// "asks: CLOSE; closes".
QString frameButtons(const QWidget& window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return {};
    xcb_connection_t* c = x11->connection();
    const auto property = [&](const QByteArray& name) {
        using Reply = std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)>;
        const Reply atom(xcb_intern_atom_reply(
                             c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.data()), nullptr),
                         &std::free);
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(c,
                                   xcb_get_property(c, 0, xcb_window_t(window.winId()),
                                                    atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE},
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                                   nullptr),
            &std::free);
        QList<uint32_t> values;
        if (!reply || reply->format != 32) return values;
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        for (int k = 0; k < xcb_get_property_value_length(reply.get()) / 4; ++k) values << v[k];
        return values;
    };
    // Motif: flags, functions (minimise 8, maximise 16, close 32), decorations
    // (minimise 32, maximise 64).
    const QList<uint32_t> motif = property("_MOTIF_WM_HINTS");
    if (motif.size() < 3) return "no hints";
    QStringList asks;
    if (motif[1] & 32) asks << "CLOSE";
    if ((motif[1] & 8) || (motif[2] & 32)) asks << "MINIMIZE";
    if ((motif[1] & 16) || (motif[2] & 64)) asks << "MAXIMIZE";
    // The window manager's _NET_WM_ALLOWED_ACTIONS holds _NET_WM_ACTION_CLOSE.
    const QByteArray close = "_NET_WM_ACTION_CLOSE";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> closeAtom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(close.size()), close.data()),
                              nullptr),
        &std::free);
    const bool closes = closeAtom && property("_NET_WM_ALLOWED_ACTIONS").contains(closeAtom->atom);
    return "asks: " + asks.join(' ') + (closes ? "; closes" : "");
}

}  // namespace

class WindowsAndKeysTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    zorbinta::testsupport::LocalHttpServer server_;
    std::unique_ptr<zorbinta::qt::DesktopProgram> program_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }
    QRect area() { return window().screen()->availableGeometry(); }
    bool framed() { return window().frameGeometry() == area(); }
    QString location() { return QString::fromStdString(pane().locationUrl()); }
    // Opens the dialog of command, runs action in it; it must have closed.
    void inDialog(const char* command, const std::function<void(QWidget&)>& action) {
        onModal([&](QWidget* modal) { action(*modal); });
        window().command(command)->trigger();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

private slots:
    void initTestCase() {
        program_ = std::make_unique<zorbinta::qt::DesktopProgram>(
            zorbinta::ProgramFiles(folder_.path()), server_.url());
        program_->show();
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
        QVERIFY(activate(window()));
    }
    void cleanup() { cancelModalWatches(); }

    void theFrameFillsTheWorkArea() {
        QVERIFY(waitUntil([&] { return framed(); }));
        // Framed indeed, where a window manager frames it: a caption above.
        if (qEnvironmentVariableIsSet("ZORBINTA_WINDOW_MANAGER"))
            QVERIFY(window().geometry().top() > window().frameGeometry().top());
        // Enter closes the About box, and the window stays where it is.
        const QRect at = window().geometry();
        inDialog("N12", [](QWidget& about) { press(about, Qt::Key_Return); });
        QVERIFY(framed());
        QCOMPARE(window().geometry(), at);
    }

    void everyCommandOfTheWindowIsListed() {
        // Each listed command has its widget (the window refuses to start
        // without); and no menu item or toolbar button is left out of the list.
        const QRegularExpression command("^(N|ToolButton)[0-9]+$");
        for (QAction* action : window().findChildren<QAction*>()) {
            const QString name = action->objectName();
            if (action->isSeparator() || !command.match(name).hasMatch()) continue;
            const auto kind =
                name.startsWith('N') ? zorbinta::CommandKind::Menu : zorbinta::CommandKind::Toolbar;
            QVERIFY2(zorbinta::findMainCommand(kind, name.toStdString()) != nullptr,
                     qPrintable(name));
        }
    }

    void everyDialogOpensWholeAndCentred_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"N12", "N11", "N6", "N2"}) QTest::newRow(command) << command;
    }
    void everyDialogOpensWholeAndCentred() {
        QFETCH(QString, command);
        QStringList outside{"not centred"};
        inDialog(qPrintable(command), [&](QWidget& dialog) {
            // Once the window manager has framed it.
            if (waitUntil([&] {
                    return area().contains(dialog.frameGeometry()) &&
                           (dialog.frameGeometry().center() - area().center()).manhattanLength() <=
                               3;
                })) {
                outside.clear();
            }
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
                if (control->isVisible() && !area().contains(at)) outside << control->objectName();
            }
            press(dialog, Qt::Key_Escape);  // the close box
        });
        QCOMPARE(outside, QStringList());
    }

    void atScaleFactorTwo() {
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") QSKIP("this is the run at scale 2");
        // The cases above in a process of their own, whose screen is scaled.
        QProcess scaled;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "2");
        scaled.setProcessEnvironment(env);
        scaled.setProcessChannelMode(QProcess::MergedChannels);
        scaled.start(QCoreApplication::applicationFilePath(),
                     {"theFrameFillsTheWorkArea", "everyDialogOpensWholeAndCentred"});
        QVERIFY(scaled.waitForFinished(240000));
        QVERIFY2(scaled.exitStatus() == QProcess::NormalExit && scaled.exitCode() == 0,
                 scaled.readAll().constData());
    }

    void theStatusTextsNeverMeet() {
        window().resize(1, 1);  // as small as it can be
        QVERIFY(waitUntil([&] { return window().size() == window().minimumSize(); }));
        QVERIFY(
            !window().statusPanel(0)->geometry().intersects(window().statusPanel(1)->geometry()));
        QVERIFY(window().statusBar()->rect().contains(window().statusPanel(1)->geometry()));
        inDialog("N12", [](QWidget& about) { press(about, Qt::Key_Escape); });
        QVERIFY(waitUntil([&] { return framed(); }));
    }

    void theTextsShowWholeAtLargerFonts_data() {
        QTest::addColumn<int>("points");
        for (const int points : {11, 12})
            QTest::newRow(qPrintable(QString::number(points))) << points;
    }
    void theTextsShowWholeAtLargerFonts() {
        QFETCH(int, points);
        // The user's font, in force as the window is made.
        struct UserFont {
            QFont before = QApplication::font();
            explicit UserFont(int size) { QApplication::setFont(QFont("DejaVu Sans", size)); }
            ~UserFont() { QApplication::setFont(before); }
        } font(points);
        zorbinta::qt::TForm1 form;
        form.setProviderPanelWidth(200);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const struct {
            int panel;  // -1: the provider panel's caption
            std::string text;
        } shown[] = {
            {-1, ""},
            {0, "Хостинг-провайдеров:20"},
            {0, "Хостинг-провайдеров:2000"},
            {1, "Тарифных планов:2000"},
        };
        QStringList clipped;
        for (const auto& s : shown) {
            QLabel* label =
                s.panel < 0 ? form.findChild<QLabel*>("Panel2Caption") : form.statusPanel(s.panel);
            if (s.panel >= 0) form.setStatusText(s.panel, s.text);
            QCOMPARE(label->font().pointSize(), points);
            // The text from where the label starts it, frame and indent included.
            const QFontMetrics metrics = label->fontMetrics();
            const int indent = label->frameWidth() > 0 ? metrics.horizontalAdvance('x') / 2 : 0;
            const int needs = metrics.horizontalAdvance(label->text()) + indent;
            if (!waitUntil([&] { return label->contentsRect().width() >= needs; }, 5000))
                clipped << QString("%1: %2 of %3 px")
                               .arg(label->text())
                               .arg(label->contentsRect().width())
                               .arg(needs);
            qInfo("%d pt: \"%s\" %d px in %d px", points, qPrintable(label->text()), needs,
                  label->contentsRect().width());
        }
        QCOMPARE(clipped, QStringList());
    }

    void dialogFramesOfferOnlyTheirCloseButton() {
        if (!qEnvironmentVariableIsSet("ZORBINTA_WINDOW_MANAGER"))
            QSKIP("no window manager frames the dialogs");
        QStringList offered;
        const auto frame = [&](QWidget& dialog) {
            // Once the window manager has framed it.
            QString buttons;
            waitUntil([&] { return (buttons = frameButtons(dialog)).endsWith("closes"); });
            offered << dialog.windowTitle() + ": " + buttons;
        };
        for (const char* command : {"N12", "N11", "N6"})
            inDialog(command, [&](QWidget& dialog) {
                frame(dialog);
                press(dialog, Qt::Key_Escape);
            });
        zorbinta::qt::QtMessageBox messages(&window());
        onModal([&](QWidget* box) {
            frame(*box);
            press(*box, Qt::Key_Return);
        });
        messages.showMessage("Подключитесь к интернету", "");
        QVERIFY(activate(window()));
        QCOMPARE(offered,
                 (QStringList{"О программе: asks: CLOSE; closes", "Обновление: asks: CLOSE; closes",
                              "Поиск виртуального сервера: asks: CLOSE; closes",
                              "Зорбинта: asks: CLOSE; closes"}));
    }

    void enterDownloadsTheCatalogue() {
        // The catalogue in use served again: loaded, and said to be unchanged.
        const QByteArray catalogue = folder_.read("base.db");
        server_.setHandler(zorbinta::testsupport::inOrder(
            {zorbinta::testsupport::httpReply(200, catalogue.toStdString())}));
        inDialog("N11", [](QWidget& dialog) { press(dialog, Qt::Key_Return); });
        QCOMPARE(location(), QString::fromStdString(folder_.templ("main.htm?nochange")));
        QVERIFY(pageText(pane()).contains("каталог не изменился"));
        QVERIFY(!QFile::exists(folder_.file("base.db.prev")));
    }

    void altLetterOpensTheMenusAndReachesTheSearchFields() {
        for (QAction* top : window().menuBar()->actions()) {
            if (top->menu() == nullptr) continue;
            press(window(), mnemonic(top->text()), Qt::AltModifier);
            QVERIFY2(waitUntil([&] { return QApplication::activePopupWidget() == top->menu(); }),
                     qPrintable(top->text()));
            QTest::keyClick(top->menu(), Qt::Key_Escape);
            QVERIFY(waitUntil([&] { return QApplication::activePopupWidget() == nullptr; }));
        }
        QStringList reached;
        inDialog("N6", [&](QWidget& modal) {
            auto& dialog = static_cast<zorbinta::qt::TForm4&>(modal);
            for (int n = zorbinta::qt::TForm4::kEdits; n >= 1; --n) {
                press(dialog, mnemonic(dialog.label(n)->text()), Qt::AltModifier);
                reached << dialog.focusWidget()->objectName();
            }
            press(dialog, Qt::Key_Escape);
        });
        QCOMPARE(reached, (QStringList{"Edit8", "Edit7", "Edit6", "Edit5", "Edit4", "Edit3",
                                       "Edit2", "Edit1"}));
    }

    void theProviderListFromTheKeyboard() {
        QListWidget* list = window().providerList();
        window().command("N8")->trigger();
        press(window(), Qt::Key_F6);
        QVERIFY(list->hasFocus());
        press(window(), Qt::Key_Down);
        press(window(), Qt::Key_Down);
        const QString chosen = list->currentItem()->text();
        press(window(), Qt::Key_Return);
        QVERIFY(waitComplete(pane()));
        QVERIFY(location().startsWith(QString::fromStdString(folder_.templ("main.htm?provid="))));
        QVERIFY(pageText(pane()).contains(chosen));
        // The card has the focus; Shift+F6 goes back to the list.
        QCOMPARE(window().focusWidget(), pane().view()->focusProxy());
        press(window(), Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(list->hasFocus());
        window().command("N8")->trigger();
    }

    void zoomFromTheKeyboardForTheRun() {
        const struct {
            int key;
            Qt::KeyboardModifiers modifiers;
            double factor;
        } steps[] = {{Qt::Key_Plus, Qt::ControlModifier, 1.1},
                     {Qt::Key_Equal, Qt::ControlModifier, 1.25},
                     {Qt::Key_Minus, Qt::ControlModifier, 1.1},
                     {Qt::Key_0, Qt::ControlModifier, 1.0},
                     {Qt::Key_Minus, Qt::ControlModifier, 0.9},
                     {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 1.0}};
        for (const auto& step : steps) {
            press(window(), step.key, step.modifiers);
            QCOMPARE(pane().view()->zoomFactor(), step.factor);
        }
        // The pages that follow keep it, as the engine draws them.
        window().command("N17")->trigger();
        window().command("N9")->trigger();
        QVERIFY(waitUntil([&] {
            return qAbs(evaluate(pane(), "window.devicePixelRatio").toDouble() - 1.1) < 0.01;
        }));
    }
};

ZORBINTA_GUI_TEST_MAIN(WindowsAndKeysTest)
#include "windows_and_keys_test.moc"
