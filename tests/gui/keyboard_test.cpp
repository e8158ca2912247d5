// The program without the mouse: Enter and Escape in the dialogs, Alt+letter
// in the menus and in the search dialog, the provider list from the
// keyboard, and the page's zoom.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>

#include "GuiHarness.h"
#include "about/qt/TForm2.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"
#include "tests/LocalHttpServer.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

namespace {

// The key of the letter a text marks with "&".
Qt::Key mnemonicKey(const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at < 0 || at + 1 >= text.size() ? Qt::Key_unknown
                                           : Qt::Key(text[at + 1].toUpper().unicode());
}

// A key as the user presses it in window: to whatever has the focus there.
// A letter of another script comes with its text, as the keyboard sends it.
void press(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    if (key > 0x7f && key < 0x10000) {
        QTest::sendKeyEvent(QTest::Click, target, key, QString(QChar(key).toLower()), modifiers);
    } else {
        QTest::keyClick(target, key, modifiers);
    }
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    zorbinta::testsupport::LocalHttpServer server_;
    std::unique_ptr<DesktopProgram> program_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }
    QString location() { return QString::fromStdString(pane().locationUrl()); }
    QString templ(const std::string& rest) { return QString::fromStdString(folder_.templ(rest)); }

private slots:
    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(folder_.path(), server_.url());
        program_->show();
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
        QVERIFY(waitComplete(pane()));
    }
    void cleanup() { cancelModalWatches(); }

    void enterDownloadsTheCatalogueInTheUpdateDialog() {
        // The catalogue in use, served again: loaded, and said to be unchanged.
        const QByteArray catalogue = folder_.read("base.db");
        server_.setHandler(zorbinta::testsupport::inOrder(
            {zorbinta::testsupport::httpReply(200, catalogue.toStdString())}));
        onModal([](QWidget* modal) { press(*modal, Qt::Key_Return); });
        window().command("N11")->trigger();
        QCOMPARE(server_.requests().size(), size_t(2));
        QCOMPARE(location(), templ("main.htm?nochange"));
        QVERIFY(pageText(pane()).contains("каталог не изменился"));
        QCOMPARE(folder_.read("base.db"), catalogue);
        QVERIFY(!QFile::exists(folder_.file("base.db.prev")));

        // Escape is the close box: nothing asked of the server.
        onModal([](QWidget* modal) { press(*modal, Qt::Key_Escape); });
        window().command("N11")->trigger();
        QCOMPARE(server_.requests().size(), size_t(2));
    }

    void enterAndEscapeCloseTheAboutBox() {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            bool shown = false;
            onModal([&](QWidget* modal) {
                shown = modal == static_cast<QWidget*>(&program_->aboutBox());
                press(*modal, key);
            });
            window().command("N12")->trigger();
            QVERIFY(shown);
            QVERIFY(!program_->aboutBox().isVisible());
        }
    }

    void altLetterOpensEveryMenu() {
        QVERIFY(activate(window()));
        for (QAction* top : window().menuBar()->actions()) {
            if (top->menu() == nullptr) continue;
            const Qt::Key key = mnemonicKey(top->text());
            QVERIFY2(key != Qt::Key_unknown, qPrintable(top->text()));
            press(window(), key, Qt::AltModifier);
            QVERIFY2(waitUntil([&] { return QApplication::activePopupWidget() == top->menu(); }),
                     qPrintable(top->text()));
            // Every item has a letter of its own in its menu.
            QSet<int> keys;
            for (QAction* item : top->menu()->actions()) {
                if (item->isSeparator()) continue;
                const Qt::Key itemKey = mnemonicKey(item->text());
                QVERIFY2(itemKey != Qt::Key_unknown && !keys.contains(itemKey),
                         qPrintable(item->text()));
                keys.insert(itemKey);
            }
            QTest::keyClick(top->menu(), Qt::Key_Escape);
            QVERIFY(waitUntil([&] { return QApplication::activePopupWidget() == nullptr; }));
        }
    }

    void searchLabelsLeadToTheirFields() {
        QStringList reached;
        onModal([&](QWidget* modal) {
            auto* dialog = static_cast<zorbinta::qt::TForm4*>(modal);
            QVERIFY(activate(*dialog));
            for (int n = zorbinta::qt::TForm4::kEdits; n >= 1; --n) {
                QCOMPARE(dialog->label(n)->buddy(), static_cast<QWidget*>(dialog->edit(n)));
                press(*dialog, mnemonicKey(dialog->label(n)->text()), Qt::AltModifier);
                if (dialog->focusWidget() == dialog->edit(n))
                    reached << dialog->edit(n)->objectName();
            }
            press(*dialog, Qt::Key_Escape);
        });
        window().command("N6")->trigger();
        QCOMPARE(reached, (QStringList{"Edit8", "Edit7", "Edit6", "Edit5", "Edit4", "Edit3",
                                       "Edit2", "Edit1"}));
    }

    void theProviderListFromTheKeyboard() {
        QListWidget* list = window().providerList();
        QVERIFY(activate(window()));
        window().command("N8")->trigger();
        QVERIFY(waitUntil([&] { return list->isVisible(); }));
        press(window(), Qt::Key_F6);
        QVERIFY(list->hasFocus());
        press(window(), Qt::Key_Down);
        press(window(), Qt::Key_Down);
        const int row = list->currentRow();
        QVERIFY(row >= 0 && list->currentItem()->isSelected());
        press(window(), Qt::Key_Return);
        QVERIFY(waitComplete(pane()));
        QVERIFY(location().startsWith(templ("main.htm?provid=")));
        QVERIFY(pageText(pane()).contains(list->item(row)->text()));
        // The page has the focus after it; F6 goes back to the list, and
        // again to the page.
        press(window(), Qt::Key_F6);
        QVERIFY(list->hasFocus());
        press(window(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(window().focusWidget(), pane().view()->focusProxy());
        window().command("N8")->trigger();
        QVERIFY(waitUntil([&] { return !list->isVisible(); }));
    }

    void zoomFromTheKeyboardForTheRun() {
        QVERIFY(activate(window()));
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            double factor;
        } steps[] = {
            {Qt::Key_Plus, Qt::ControlModifier, 1.1},
            {Qt::Key_Equal, Qt::ControlModifier, 1.25},
            {Qt::Key_Minus, Qt::ControlModifier, 1.1},
            {Qt::Key_0, Qt::ControlModifier, 1.0},
            {Qt::Key_Minus, Qt::ControlModifier, 0.9},
            {Qt::Key_0, Qt::ControlModifier, 1.0},
            {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 1.1},
        };
        for (const auto& step : steps) {
            press(window(), step.key, step.modifiers);
            QCOMPARE(pane().view()->zoomFactor(), step.factor);
        }
        // It stays with the pages that follow, and the engine draws them so.
        window().command("N9")->trigger();
        QVERIFY(waitComplete(pane()));
        QCOMPARE(pane().view()->zoomFactor(), 1.1);
        QVERIFY(waitUntil([&] {
            return qAbs(evaluate(pane(), "window.devicePixelRatio").toDouble() - 1.1) < 0.01;
        }));
        // From the menu as well: Показать → Обычный масштаб.
        window().command("N19")->trigger();
        QCOMPARE(pane().view()->zoomFactor(), 1.0);
    }
};

ZORBINTA_GUI_TEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
