// SPDX-License-Identifier: GPL-3.0-or-later
// The program's dialogs under real key presses and clicks: the search
// dialog's key filters, keyboard use and its mirror of the model; the About
// box's links and background click; the new-version prompt and its setting.

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "GuiHarness.h"
#include "about/qt/TForm2.h"
#include "platform/qt/Contrast.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"
#include "update/qt/TForm5.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

namespace {

// Types keys into a field: characters as they are, and
// ⌫ backspace, ⌦ delete, ⇤ home, ← left, ⎘ the paste shortcut.
void type(QLineEdit* field, const QString& keys) {
    for (const QChar c : keys) {
        if (c == u'⌫') {
            QTest::keyClick(field, Qt::Key_Backspace);
        } else if (c == u'⌦') {
            QTest::keyClick(field, Qt::Key_Delete);
        } else if (c == u'⇤') {
            QTest::keyClick(field, Qt::Key_Home);
        } else if (c == u'←') {
            QTest::keyClick(field, Qt::Key_Left);
        } else if (c == u'⎘') {
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            // Keys of other scripts arrive with their text only.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    OpenedLinks opened_;
    std::unique_ptr<DesktopProgram> program_;

    zorbinta::qt::TForm4& search() { return program_->searchDialog(); }
    zorbinta::Application& app() { return program_->app(); }

    // Opens the search dialog from the toolbar and runs action while it is open.
    void withSearchDialog(const std::function<void(zorbinta::qt::TForm4&)>& action) {
        bool ran = false;
        onModal([&](QWidget* modal) {
            QCOMPARE(modal, static_cast<QWidget*>(&search()));
            QVERIFY(activate(search()));
            action(search());
            ran = true;
        });
        program_->mainWindow().command("ToolButton2")->trigger();
        QVERIFY(ran);
        QVERIFY(!search().isVisible());
        QVERIFY(waitComplete(program_->pane()));
    }

private slots:
    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        program_->show();
        QVERIFY(waitUntil([&] { return app().catalogue.PlanCount > 0; }));
    }
    void cleanup() { cancelModalWatches(); }
    // Else the clipboard waits for a clipboard manager at exit.
    void cleanupTestCase() { QApplication::clipboard()->clear(); }

    void keyFiltersOnRealKeyPresses_data() {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole numbers refuse separators and letters") << 1 << "12.5,a7"
                                                                     << "1257";
        QTest::newRow("MaxLength") << 3 << "12345"
                                   << "123";
        QTest::newRow("letters of any script") << 8 << "5жz"
                                               << "5";
        QTest::newRow("price: a point becomes a comma") << 6 << "12.5"
                                                        << "12,5";
        QTest::newRow("price: a point first is refused") << 6 << ".5"
                                                         << "5";
        QTest::newRow("price: two decimals at most") << 6 << "12.501"
                                                     << "12,50";
        QTest::newRow("price: digits left of the comma") << 6 << "12.50⇤9"
                                                         << "912,50";
        QTest::newRow("price: one comma only") << 6 << "1..5"
                                               << "1,5";
        QTest::newRow("traffic: one decimal at most") << 2 << "3.57"
                                                      << "3,5";
        QTest::newRow("backspace") << 6 << "12.5⌫⌫⌫"
                                   << "1";
        QTest::newRow("delete and caret keys are the field's own") << 5 << "123⇤⌦"
                                                                   << "23";
        QTest::newRow("the paste shortcut does nothing") << 1 << "1⎘"
                                                         << "1";
    }
    void keyFiltersOnRealKeyPresses() {
        QFETCH(int, edit);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QApplication::clipboard()->setText("99");
        search().show();
        QLineEdit* field = search().edit(edit);
        field->clear();
        type(field, keys);
        QCOMPARE(field->text(), shown);
        search().hide();
    }

    void theKeyboardWalksTheDialogTopToBottom() {
        withSearchDialog([](zorbinta::qt::TForm4& dialog) {
            dialog.edit(1)->setFocus();
            QStringList order{dialog.focusWidget()->objectName()};
            for (int k = 0; k < 30; ++k) {
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                order << dialog.focusWidget()->objectName();
            }
            QStringList expected{"Edit1",     "Edit2", "CheckBox1", "Edit3", "CheckBox2", "Edit4",
                                 "CheckBox3", "Edit5", "CheckBox4", "Edit6", "Edit7",     "Edit8"};
            for (int n = 5; n <= 19; ++n) expected << QString("CheckBox%1").arg(n);
            expected << "Button1"
                     << "Button2"
                     << "Edit1"
                     << "Edit2";
            QCOMPARE(order, expected);
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
        });
    }

    void enterFindsEscapeCancels() {
        withSearchDialog([](zorbinta::qt::TForm4& dialog) {
            dialog.edit(1)->clear();
            type(dialog.edit(1), "250");
            dialog.edit(2)->setText("500");
            dialog.checkBox(1)->setChecked(true);  // traffic unlimited
            dialog.checkBox(5)->setChecked(true);  // PHP
            QTest::keyClick(dialog.edit(1), Qt::Key_Return);
        });
        const auto& criteria = app().search.criteria;
        QCOMPARE(criteria.Bounds[1], 250.0);
        QCOMPARE(criteria.Bounds[2], 99999.0);
        QCOMPARE(int(criteria.Options[1]), 1);

        withSearchDialog([](zorbinta::qt::TForm4& dialog) {
            // Shown as the model keeps it: the disk bound put back after the
            // results page used it, the traffic field empty under "Неогр.".
            QCOMPARE(dialog.edit(1)->text(), QString("250"));
            QCOMPARE(dialog.edit(2)->text(), QString());
            QVERIFY(dialog.checkBox(1)->isChecked());
            QCOMPARE(dialog.label(6)->text(), QString("&Месячная стоимость"));
            QCOMPARE(dialog.checkBox(19)->text(), QString("Ежедневный Back-Up"));
            dialog.edit(1)->setText("999");
            dialog.checkBox(5)->setChecked(false);
            QTest::keyClick(dialog.edit(1), Qt::Key_Escape);
        });
        QCOMPARE(criteria.Bounds[1], 250.0);
        QCOMPARE(int(criteria.Options[1]), 1);
        QVERIFY(!app().search.CheckBox[5]);  // the boxes went back to the model
    }

    void aBadPastedNumberKeepsTheDialogOpen() {
        QString error;
        withSearchDialog([&](zorbinta::qt::TForm4& dialog) {
            dialog.edit(7)->setText("1x");  // as pasted from the context menu
            onModal(
                [&](QWidget* box) {
                    error = box->findChild<QLabel*>("qt_msgbox_label")->text();
                    static_cast<QDialog*>(box)->accept();
                },
                &dialog);
            dialog.findButton()->click();
            QVERIFY(dialog.isVisible());
            dialog.edit(7)->clear();
            dialog.cancelButton()->click();
        });
        QCOMPARE(error, QString("'1x' is not a valid floating point value"));
    }

    void theAboutBox() {
        bool ran = false;
        onModal([&](QWidget* modal) {
            auto& about = program_->aboutBox();
            QCOMPARE(modal, static_cast<QWidget*>(&about));
            QStringList shown;
            for (const int n : {1, 2, 9, 5, 8, 6, 3, 7, 4}) shown << about.label(n)->text();
            QStringList expected;
            for (const std::string& text : app().about.texts())
                expected << QString::fromStdString(text);
            QCOMPARE(shown, expected);
            for (const int link : {3, 4}) {
                QVERIFY(about.label(link)->font().underline());
                QCOMPARE(about.label(link)->palette().color(QPalette::WindowText),
                         QColor("#0000ff"));
                QCOMPARE(about.label(link)->cursor().shape(), Qt::PointingHandCursor);
            }
            QVERIFY(about.label(1)->font().bold());

            QTest::mouseClick(about.label(3), Qt::LeftButton);
            QTest::mouseClick(about.label(4), Qt::LeftButton);
            QTest::mouseClick(about.label(9), Qt::LeftButton);
            QCOMPARE(opened_.urls.mid(opened_.urls.size() - 2),
                     (QStringList{"http://www.zorbinta.ru", "mailto:info@zorbinta.ru"}));
            QVERIFY(about.isVisible());  // clicks on labels leave it open
            QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(4, 4));
            ran = true;
        });
        program_->mainWindow().command("N12")->trigger();
        QVERIFY(ran);
        QVERIFY(!program_->aboutBox().isVisible());

        onModal([&](QWidget*) { program_->aboutBox().close(); });  // the close box
        program_->mainWindow().command("N12")->trigger();
        QVERIFY(!program_->aboutBox().isVisible());
    }

    void theAboutLinksFromTheKeyboard() {
        // Tab goes from the box to each link in turn; Enter and Space follow
        // a link as a click does, and leave the box open.
        QStringList reached;
        const qsizetype before = opened_.urls.size();
        onModal([&](QWidget*) {
            auto& about = program_->aboutBox();
            QVERIFY(activate(about));
            const struct {
                Qt::Key key;
            } steps[] = {
                {Qt::Key_Tab}, {Qt::Key_Space}, {Qt::Key_Tab}, {Qt::Key_Return}, {Qt::Key_Tab}};
            for (const auto& step : steps) {
                QTest::keyClick(QApplication::focusWidget(), step.key);
                if (step.key == Qt::Key_Tab) reached << QApplication::focusWidget()->objectName();
            }
            QVERIFY(about.isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        program_->mainWindow().command("N12")->trigger();
        QCOMPARE(reached, (QStringList{"Label3", "Label4", "Label3"}));
        QCOMPARE(opened_.urls.mid(before),
                 (QStringList{"http://www.zorbinta.ru", "mailto:info@zorbinta.ru"}));
        QVERIFY(!program_->aboutBox().isVisible());
    }

    void theAboutLinksOnLightAndDarkPalettes_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("shown");  // empty: any colour at 4.5 : 1
        // window, text, link colour of the palette; the link shown.
        const char* const rows[][5] = {
            {"light", "#efefef", "#000000", "#308cc6", "#0000ff"},
            {"dark, readable link", "#2a2e32", "#fcfcfc", "#3daee9", "#3daee9"},
            // Breeze Dark's own link colour stands at 4.496 : 1 on its window.
            {"Breeze Dark", "#2a2e32", "#fcfcfc", "#1d99f3", ""},
            {"dark, blue link", "#353535", "#ffffff", "#0000ff", ""},
        };
        for (const auto& r : rows) QTest::newRow(r[0]) << r[1] << r[2] << r[3] << r[4];
    }
    void theAboutLinksOnLightAndDarkPalettes() {
        QFETCH(QString, window);
        QFETCH(QString, text);
        QFETCH(QString, link);
        QFETCH(QString, shown);
        const QPalette before = QApplication::palette();
        QPalette palette = before;
        palette.setColor(QPalette::Window, QColor(window));
        palette.setColor(QPalette::WindowText, QColor(text));
        palette.setColor(QPalette::Link, QColor(link));
        auto& about = program_->aboutBox();
        QApplication::setPalette(palette);
        QVERIFY(
            waitUntil([&] { return about.palette().color(QPalette::Window) == QColor(window); }));
        const QColor colour = about.label(3)->palette().color(QPalette::WindowText);
        const QColor back = about.palette().color(QPalette::Window);
        QApplication::setPalette(before);
        QVERIFY(waitUntil([&] {
            return about.palette().color(QPalette::Window) == before.color(QPalette::Window);
        }));
        const double ratio = zorbinta::qt::contrastRatio(colour, back);
        qInfo("%s on %s: %.2f : 1", qPrintable(colour.name()), qPrintable(back.name()), ratio);
        if (!shown.isEmpty()) QCOMPARE(colour, QColor(shown));
        QVERIFY(ratio >= 4.5);
        QCOMPARE(program_->aboutBox().label(4)->palette().color(QPalette::WindowText),
                 QColor(0x00, 0x00, 0xff));  // light again
    }

    void theNewVersionPrompt() {
        ProgramFolder folder;
        QByteArray catalogue = folder.read("base.db");
        QVERIFY(catalogue.startsWith("update|3.1|"));
        catalogue.replace(0, 11, "update|3.2|");
        const QString link = QString::fromLatin1(catalogue.split('|').at(2));
        folder.write("base.db", catalogue);
        folder.write("templ/config.txt", "0");
        DesktopProgram program(zorbinta::ProgramFiles(folder.path()));

        // Answers the prompt with the box set as given and the button named.
        int prompts = 0;
        auto answer = [&](bool tick, const QString& button) {
            return [&, tick, button](QWidget* modal) {
                auto& prompt = program.prompt();
                QCOMPARE(modal, static_cast<QWidget*>(&prompt));
                ++prompts;
                if (prompts == 1) {
                    QCOMPARE(prompt.windowTitle(), QString("Новая версия"));
                    const QRect area = prompt.screen()->availableGeometry();
                    QVERIFY((prompt.frameGeometry().center() - area.center()).manhattanLength() <=
                            4);
                    QCOMPARE(prompt.question()->text(),
                             QString("Доступна новая версия каталога. Скачать?"));
                    QCOMPARE(prompt.checkBox()->text(),
                             QString("Больше не показывать данное сообщение"));
                    QCOMPARE(prompt.yesButton()->text(), QString("Да"));
                    QCOMPARE(prompt.noButton()->text(), QString("Нет"));
                }
                if (prompts == 2) QVERIFY(prompt.checkBox()->isChecked());  // kept from before
                prompt.checkBox()->setChecked(tick);
                if (button == "close") {
                    prompt.close();
                } else {
                    QTest::mouseClick(button == "Да" ? prompt.yesButton() : prompt.noButton(),
                                      Qt::LeftButton);
                }
            };
        };
        // The About box closing activates the main window, which loads again.
        auto throughAboutBox = [&](const std::function<void(QWidget*)>& onPrompt) {
            onModal([&, onPrompt](QWidget* about) {
                if (onPrompt) onModal(onPrompt, about);
                program.aboutBox().close();
            });
            program.mainWindow().command("N12")->trigger();
        };

        onModal(answer(true, "close"));
        program.show();
        QVERIFY(waitUntil([&] { return prompts == 1 && !program.prompt().isVisible(); }));
        QCOMPARE(folder.read("templ/config.txt"), QByteArray("0"));

        throughAboutBox(answer(false, "Нет"));
        QCOMPARE(prompts, 2);
        QCOMPARE(folder.read("templ/config.txt"), QByteArray("0"));

        throughAboutBox(answer(true, "Да"));
        QCOMPARE(prompts, 3);
        QCOMPARE(opened_.urls.last(), link);
        QCOMPARE(folder.read("templ/config.txt"), QByteArray("1"));

        throughAboutBox(nullptr);
        pump(300);
        QCOMPARE(prompts, 3);
    }
};

ZORBINTA_GUI_TEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
