// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a user drives it: its windows, menus and toolbar,
// the provider panel, the catalogue pages reached by clicking in them, Back
// and Forward, the shortcuts, saving, and the error display.

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>

#include "GuiHarness.h"
#include "about/qt/TForm2.h"
#include "catalogue/core/Win1251.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_{"Мои программы/Зорбинта 3.1"};
    OpenedLinks opened_;
    std::unique_ptr<DesktopProgram> program_;
    std::unique_ptr<QSignalSpy> routed_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }
    zorbinta::Application& app() { return program_->app(); }
    QString location() { return QString::fromStdString(pane().locationUrl()); }
    QString templ(const std::string& rest) { return QString::fromStdString(folder_.templ(rest)); }

    // Clicks an element of the page on show and waits for the page it leads to.
    bool follow(const QString& selector, int nth = 0) {
        const qsizetype before = routed_->size();
        if (!clickElement(pane(), selector, nth)) return false;
        return waitUntil([&] { return routed_->size() > before; }) && waitComplete(pane());
    }
    QString attribute(const QString& selector, const QString& name, int nth = 0) {
        return evaluate(pane(), QString("document.querySelectorAll('%1')[%2].getAttribute('%3')")
                                    .arg(selector)
                                    .arg(nth)
                                    .arg(name))
            .toString();
    }
    QString planName(int row) {
        return QString::fromStdString(
            app().catalogue.text(zorbinta::PlanTable, zorbinta::slot::PlanName, row));
    }
    // The search dialog closed with "Найти" and the results page on show.
    void search() {
        onModal([this](QWidget*) { program_->searchDialog().findButton()->click(); });
        window().command("N6")->trigger();
        QVERIFY(waitComplete(pane()));
        QCOMPARE(location(), templ("main.htm?stoim"));
    }

private slots:
    void cleanup() { cancelModalWatches(); }

    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        routed_ = std::make_unique<QSignalSpy>(&pane(),
                                               &zorbinta::qt::QtBrowserPane::navigationCompleted);
        program_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
    }

    void theWindowsAndTheirCaptions() {
        QCOMPARE(window().windowTitle(), QString("Зорбинта"));
        QStringList dialogs;
        for (QDialog* d : window().findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
            dialogs << d->windowTitle();
        }
        // Created in this order after the main window.
        QCOMPARE(dialogs, (QStringList{"О программе", "Обновление", "Поиск виртуального сервера",
                                       "Новая версия"}));
    }

    void theMenus() {
        QStringList shown;
        for (QAction* top : window().menuBar()->actions()) {
            shown << top->text();
            if (top->menu() == nullptr) continue;
            QSet<QChar> marks;  // no two items of a menu share their Alt+letter
            for (QAction* item : top->menu()->actions()) {
                shown << "  " + (item->isSeparator() ? "-" : item->text());
                const qsizetype mark = item->text().indexOf('&');
                if (mark < 0) continue;
                const QChar letter = item->text().at(mark + 1).toLower();
                QVERIFY2(!marks.contains(letter), qPrintable(item->text()));
                marks.insert(letter);
            }
        }
        // Each with its Alt+letter marked.
        QCOMPARE(shown, (QStringList{"&Файл",
                                     "  &Сохранить",
                                     "  &Экспорт таблицы…",
                                     "  &Печать…",
                                     "  Сохранить как P&DF…",
                                     "  -",
                                     "  &Выход",
                                     "&Поиск",
                                     "  &Виртуалный сервер",
                                     "  &Почти подходящие",
                                     "  &Лучшие тарифы",
                                     "  &Стоимость сайта",
                                     "По&казать",
                                     "  &Хостинг-провайдеры",
                                     "  &Бесплатный хостинг",
                                     "  &Регистрация доменов",
                                     "  &Главная страница",
                                     "  -",
                                     "  У&величить масштаб",
                                     "  У&меньшить масштаб",
                                     "  &Обычный масштаб",
                                     "&Сервис",
                                     "  &Обновление",
                                     "  &Изменения каталога",
                                     "&О программе"}));
    }

    void theToolbar() {
        auto* bar = window().findChild<QToolBar*>("ToolBar1");
        QCOMPARE(bar->iconSize(), QSize(28, 28));
        QStringList shown;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                shown << "-";
                continue;
            }
            auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            const bool caption = b->toolButtonStyle() == Qt::ToolButtonTextBesideIcon;
            shown << b->objectName() + " " + b->toolTip() +
                         (caption ? " [" + b->text() + "]" : "") + (b->isEnabled() ? "" : " off");
            QVERIFY(!b->icon().pixmap(QSize(28, 28)).isNull());
        }
        QCOMPARE(shown,
                 (QStringList{"ToolButton5 Назад [Назад] off", "ToolButton6 Вперед off", "-",
                              "ToolButton1 Сохранить страницу",
                              "ToolButton3 Показать хостинг-провайдеров", "ToolButton2 Поиск", "-",
                              "ToolButton4 Обновить базу данных через интернет [Обновление]"}));
        QVERIFY(window().findChild<QToolButton*>("ToolButton4")->width() >= 101);
    }

    void startFitsTheWorkAreaAndCountsTheCatalogue() {
        QCOMPARE(window().statusPanel(0)->text(),
                 QString("Хостинг-провайдеров:%1").arg(app().catalogue.ProviderCount));
        QCOMPARE(window().statusPanel(1)->text(),
                 QString("Тарифных планов:%1").arg(app().catalogue.PlanCount));
        QCOMPARE(window().statusPanel(0)->width(), 200);
        const QRect area = window().screen()->availableGeometry();
        QVERIFY(waitUntil([&] { return window().frameGeometry() == area; }));

        // Any of the program's windows closing fits it again.
        window().setGeometry(50, 60, 500, 400);
        onModal([this](QWidget*) { program_->aboutBox().close(); });
        window().command("N12")->trigger();
        QVERIFY(waitUntil([&] { return window().frameGeometry() == area; }));
    }

    void theStartPageAndTheChangesItem() {
        // Written at the first activation and left on show by later ones.
        QCOMPARE(location(), templ("main.htm"));
        QVERIFY(waitComplete(pane()));
        const QString text = pageText(pane());
        QVERIFY(text.contains("Каталог хостинг-провайдеров"));
        QVERIFY(
            text.contains(QString("Хостинг-провайдеров:\t%1").arg(app().catalogue.ProviderCount)));
        QCOMPARE(app().history.BackCount, 0);

        // Сервис → Изменения каталога follows base.db.prev at each activation.
        QAction* changes = window().command("N16");
        QVERIFY(!changes->isEnabled());
        QVERIFY(QFile::copy(folder_.file("base.db"), folder_.file("base.db.prev")));
        onModal([this](QWidget*) { program_->aboutBox().close(); });
        window().command("N12")->trigger();
        QVERIFY(changes->isEnabled());
        changes->trigger();
        QCOMPARE(location(), templ("main.htm?izmen"));
        QVERIFY(pageText(pane()).contains("Каталог не изменился"));
        QVERIFY(QFile::remove(folder_.file("base.db.prev")));
    }

    void theProviderPanel() {
        QWidget* panel = window().providerPanel();
        QListWidget* list = window().providerList();
        QCOMPARE(panel->width(), 1);
        QVERIFY(!list->isVisible());
        window().command("ToolButton3")->trigger();
        QVERIFY(waitUntil([&] { return panel->width() == 200; }));
        QVERIFY(list->isVisible());
        QCOMPARE(panel->minimumWidth(), panel->maximumWidth());  // never dragged
        QStringList expected;
        for (const std::string& item : app().main.listItems)
            expected << QString::fromStdString(item);
        QStringList shown;
        for (int k = 0; k < list->count(); ++k) shown << list->item(k)->text();
        QCOMPARE(shown, expected);
        QCOMPARE(shown.size(), app().catalogue.ProviderCount);
        QVERIFY(QFontInfo(list->font()).fixedPitch());

        // A click on a provider opens its card, and the pane has the focus.
        const QRect first = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QVERIFY(waitComplete(pane()));
        QVERIFY(location().startsWith(templ("main.htm?provid=")));
        QVERIFY(pageText(pane()).contains(shown[0]));
        QCOMPARE(window().focusWidget(), pane().view()->focusProxy());

        auto* close = window().findChild<QToolButton*>("BitBtn4");
        QCOMPARE(close->toolTip(), QString("Закрыть"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return panel->width() == 1; }));
    }

    void pagesReachedByClickingInThem() {
        search();
        QVERIFY(pageText(pane()).contains("Найдено:"));

        QVERIFY(follow("a[href=space]"));
        QCOMPARE(location(), templ("space"));
        QVERIFY(follow("a[href$=page2]"));
        QCOMPARE(location(), templ("spacepage2"));

        const QString provider = attribute("a[href^=provid]", "href");
        QVERIFY(follow("a[href^=provid]"));
        QCOMPARE(location(), templ(provider.toStdString()));

        // The card's mail link goes to the mail program, not the router.
        const qsizetype routed = routed_->size();
        QVERIFY(clickElement(pane(), "a[href^=mailto]"));
        QVERIFY(waitUntil([&] { return !opened_.urls.isEmpty(); }));
        QVERIFY(opened_.urls.last().startsWith("mailto:"));
        pump(200);
        QCOMPARE(routed_->size(), routed);
    }

    void backAndForward() {
        search();
        QVERIFY(follow("a[href=traf]"));
        QVERIFY(follow("a[href=space]"));
        QAction* back = window().command("ToolButton5");
        QAction* forward = window().command("ToolButton6");
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());

        back->trigger();
        QVERIFY(waitUntil([&] { return location() == templ("traf"); }) && waitComplete(pane()));
        QVERIFY(forward->isEnabled());
        back->trigger();
        QVERIFY(waitUntil([&] { return location() == templ("main.htm?stoim"); }) &&
                waitComplete(pane()));
        QVERIFY(!back->isEnabled());
        forward->trigger();
        QVERIFY(waitUntil([&] { return location() == templ("traf"); }) && waitComplete(pane()));
        QVERIFY(back->isEnabled());
        QVERIFY(forward->isEnabled());

        // The keyboard does the same from inside the page.
        QVERIFY(activate(window()));
        QWidget* page = pane().view()->focusProxy();
        QTest::keyClick(page, Qt::Key_Right, Qt::AltModifier);
        QVERIFY(waitUntil([&] { return location() == templ("space"); }) && waitComplete(pane()));
        QVERIFY(!forward->isEnabled());
        QTest::keyClick(page, Qt::Key_Left, Qt::AltModifier);
        QVERIFY(waitUntil([&] { return location() == templ("traf"); }) && waitComplete(pane()));
        QVERIFY(pageText(pane()).contains("Найдено:"));

        // So do the mouse's own back and forward buttons over the page.
        QTest::mouseClick(page, Qt::ForwardButton, {}, QPoint(20, 20));
        QVERIFY(waitUntil([&] { return location() == templ("space"); }) && waitComplete(pane()));
        QTest::mouseClick(page, Qt::BackButton, {}, QPoint(20, 20));
        QVERIFY(waitUntil([&] { return location() == templ("traf"); }) && waitComplete(pane()));

        // Alt+Home leads back to the start page, a page of the history as any.
        QTest::keyClick(page, Qt::Key_Home, Qt::AltModifier);
        QVERIFY(waitUntil([&] { return location() == templ("main.htm?glavn"); }) &&
                waitComplete(pane()));
        QVERIFY(pageText(pane()).contains("Каталог хостинг-провайдеров"));
        back->trigger();
        QVERIFY(waitUntil([&] { return location() == templ("traf"); }) && waitComplete(pane()));
    }

    void comparingTwoTickedPlans() {
        search();
        const int first = attribute("input[name=nom]", "value", 0).toInt();
        const int second = attribute("input[name=nom]", "value", 2).toInt();
        QVERIFY(clickElement(pane(), "input[name=nom]", 0));
        QVERIFY(clickElement(pane(), "input[name=nom]", 2));
        QVERIFY(follow("input[type=submit][value='Сравнить']"));
        QCOMPARE(location(), QString("http://srav/?nom=%1&nom=%2").arg(first).arg(second));
        const QString text = pageText(pane());
        QVERIFY(text.contains(planName(first)));
        QVERIFY(text.contains(planName(second)));
        // The program's own pictures show on a page at a pseudo-host too.
        QVERIFY(waitUntil(
            [&] { return evaluate(pane(), "document.images[0].naturalWidth > 0").toBool(); }));
    }

    void submittingTheDomainForm() {
        window().command("N13")->trigger();
        QVERIFY(waitUntil([&] { return location() == templ("main.htm?dom"); }) &&
                waitComplete(pane()));
        QVERIFY(clickElement(pane(), "input[name=norh][value='1']"));
        QVERIFY(follow("form[action='http://dom'] input[type=submit]"));
        QCOMPARE(location(), QString("http://dom/?zona=.ru%7C&norh=1"));
        QVERIFY(pageText(pane()).contains(".ru"));
    }

    void submittingTheCostForm() {
        window().command("N22")->trigger();
        QVERIFY(follow("input[type=submit][value='Рассчитать']"));
        QCOMPARE(location(), templ("itog?z=1&n=1"));
        QVERIFY(pageText(pane()).contains("Стоимость сайта за 1 год в зоне .ru"));
    }

    void freeHostingKeepsTheFocusInThePage() {
        window().findChild<QToolButton*>("ToolButton3")->setFocus();
        window().command("N9")->trigger();
        QCOMPARE(location(), templ("main.htm?free"));
        QVERIFY(pane().isComplete());
        QCOMPARE(window().focusWidget(), pane().view()->focusProxy());
    }

    void statisticsLinksOpenInTheBrowser() {
        search();
        const QString target = attribute("a[target=new]", "href");
        const QString before = location();
        QVERIFY(clickElement(pane(), "a[target=new]"));
        QVERIFY(
            waitUntil([&] { return !opened_.urls.isEmpty() && opened_.urls.last() == target; }));
        pump(200);
        QCOMPARE(location(), before);
    }

    // A page may hand out any address; only web and mail ones are opened.
    void onlyWebAndMailAddressesLeaveThePane() {
        const qsizetype before = opened_.urls.size();
        for (const char* target : {"smb://host/share", "file:///etc/passwd", "/usr/bin/xterm",
                                   "https://example.org/", "mailto:a@example.org"}) {
            emit pane().externalLinkRequested(target);
        }
        QCOMPARE(opened_.urls.mid(before),
                 (QStringList{"https://example.org/", "mailto:a@example.org"}));
    }

    void savingThePage() {
        search();
        const QString name = QDir(folder_.file("saved")).absolutePath();
        // The user's documents folder at first (their home without one),
        // never the program's own.
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(documents).isDir()) documents = QDir::homePath();
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->directory().absolutePath(), QDir(documents).absolutePath());
            QCOMPARE(dialog->nameFilters(), QStringList{"HTML (*.htm)"});
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            // Typed as the user types it (selectFile() leaves a focused name
            // field as it is).
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(activate(window()));
        QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(waitUntil([&] { return QFile::exists(name + ".htm"); }));
        QCOMPARE(folder_.read("saved.htm"),
                 QByteArray::fromStdString(zorbinta::toCp1251(pane().writtenPage())));

        // Cancelling writes nothing. The dialog opens where the last page went.
        QFile::remove(name + ".htm");
        QString opened;
        onModal([&](QWidget* modal) {
            opened = qobject_cast<QFileDialog*>(modal)->directory().absolutePath();
            qobject_cast<QDialog*>(modal)->reject();
        });
        window().command("ToolButton1")->trigger();
        QVERIFY(!QFile::exists(name + ".htm"));
        QCOMPARE(opened, QFileInfo(name).absolutePath());

        // Over a file that is there, the dialog asks first: "No" keeps the
        // file and the dialog, "Yes" replaces the file.
        folder_.write("saved.htm", "mine");
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            QString asked;
            onModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name + ".htm");
                onModal(
                    [&](QWidget* question) {
                        auto* box = qobject_cast<QMessageBox*>(question);
                        asked = box->text();
                        box->button(answer)->click();
                    },
                    dialog);
                static_cast<QDialog*>(dialog)->accept();
                if (dialog->isVisible()) dialog->reject();
            });
            window().command("N2")->trigger();
            QVERIFY(asked.contains("saved.htm"));
            QCOMPARE(folder_.read("saved.htm") == "mine", answer == QMessageBox::No);
        }
    }

    void errorsAreShownAndTheProgramGoesOn() {
        QString title;
        QString text;
        onModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        // "page" with no number after it cannot be read.
        pane().navigate(folder_.templ("main.htm?page"));
        QVERIFY(waitUntil([&] { return !title.isEmpty(); }));
        QCOMPARE(title, QString("Зорбинта"));
        QVERIFY(text.contains("is not a valid integer value"));
        window().command("N9")->trigger();
        QCOMPARE(location(), templ("main.htm?free"));
    }

    void aFreeHostingPageOfAThousandOffers() {
        ProgramFolder folder;
        QProcess generator;
        generator.start("python3", {ZORBINTA_SOURCE_DIR "/scripts/gen_catalogue.py", "--records",
                                    "1000", folder.file("base.db")});
        QVERIFY(generator.waitForFinished(60000) && generator.exitCode() == 0);
        DesktopProgram program(zorbinta::ProgramFiles(folder.path()));
        program.show();
        QVERIFY(waitUntil([&] { return program.app().catalogue.FreeHostCount == 1000; }));
        program.mainWindow().command("N9")->trigger();
        QVERIFY(program.pane().isComplete());
        QVERIFY(program.pane().writtenPage().size() > 500'000);
        const auto& catalogue = program.app().catalogue;
        const QString text = pageText(program.pane());
        for (const int row : {1, 500, 1000}) {
            const auto address = QString::fromStdString(
                catalogue.text(zorbinta::FreeHostTable, zorbinta::slot::FreeAddress, row));
            QVERIFY2(text.contains(address), qPrintable(address));
        }
    }

    void quittingClosesTheWindow() {
        QVERIFY(activate(window()));
        QTest::keyClick(&window(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(waitUntil([&] { return !window().isVisible(); }));
    }
};

ZORBINTA_GUI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
