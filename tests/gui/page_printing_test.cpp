// SPDX-License-Identifier: GPL-3.0-or-later
// Файл → Сохранить как PDF and Печать on the real web engine: the PDF of the
// results page (A4 portrait) and of the comparison page (A4 landscape) with
// their Cyrillic text, no file after a failure, the print preview laid out
// by the engine, and Экспорт таблицы enabled exactly on pages with a list.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <memory>

#include "GuiHarness.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/PagePrinting.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

class PagePrintingTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<DesktopProgram> program_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }

    static QString tool(const QString& name, const QStringList& arguments) {
        QProcess p;
        p.start(name, arguments);
        if (!p.waitForFinished(kPageWaitMs)) return "(" + name + " did not finish)";
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // Сохранить как PDF to path, typed in the save dialog; whether it was written.
    bool savePdf(const QString& path) {
        QSignalSpy finished(&program_->printing(), &zorbinta::qt::PagePrinting::pdfFinished);
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) return;
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        window().command("PdfSave1")->trigger();
        if (!waitUntil([&] { return !finished.isEmpty(); })) return false;
        return finished.first().at(1).toBool();
    }

    void navigate(const std::string& location) {
        pane().navigate(location);
        QVERIFY(waitComplete(pane()));
    }

private slots:
    void cleanup() { cancelModalWatches(); }

    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        program_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
    }

    void exportIsEnabledOnlyWithAList() {
        QVERIFY(waitComplete(pane()));
        QVERIFY(!window().command("N25")->isEnabled());  // the start page
        onModal([this](QWidget*) { program_->searchDialog().findButton()->click(); });
        window().command("N6")->trigger();
        QVERIFY(waitComplete(pane()));
        QVERIFY(window().command("N25")->isEnabled());
        navigate("http://srav/?");  // "Выберите хотя бы один тарифный план"
        QVERIFY(!window().command("N25")->isEnabled());
        QCOMPARE(window().command("Print1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    }

    void pdfOfTheResultsAndTheComparison_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("results") << "stoim"
                                 << "Поиск виртуального сервера" << false;
        QTest::newRow("comparison") << "http://srav/?nom=1&nom=2"
                                    << "Сравнение тарифных планов" << true;
    }
    void pdfOfTheResultsAndTheComparison() {
        QFETCH(QString, location);
        QFETCH(QString, heading);
        QFETCH(bool, landscape);
        navigate(location.startsWith("http") ? location.toStdString()
                                             : folder_.templ("main.htm?" + location.toStdString()));
        const QString path = QDir(folder_.file("")).absoluteFilePath("page " + location.left(5));
        QVERIFY(savePdf(path));
        const QString info = tool("pdfinfo", {path + ".pdf"});
        const QRegularExpression size(R"(Page size:\s+([\d.]+) x ([\d.]+) pts \(A4\))");
        const QRegularExpressionMatch m = size.match(info);
        QVERIFY2(m.hasMatch(), qPrintable(info));
        QCOMPARE(m.captured(1).toDouble() > m.captured(2).toDouble(), landscape);
        const QString text = tool("pdftotext", {"-enc", "UTF-8", path + ".pdf", "-"});
        QVERIFY2(text.contains(heading), qPrintable(text));
        const QString plan = QString::fromStdString(
            program_->app().catalogue.text(zorbinta::PlanTable, zorbinta::slot::PlanName, 1));
        QVERIFY2(text.contains(plan), qPrintable(plan + "\n" + text));
    }

    void aFailedPdfLeavesNoFile() {
        // A folder that does not exist: said, and nothing made.
        QString said;
        const QString path = folder_.file("missing/page.pdf");
        QSignalSpy finished(&program_->printing(), &zorbinta::qt::PagePrinting::pdfFinished);
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) return;
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
            // Then the message box that says why.
            onModal(
                [&](QWidget* box) {
                    said = box->findChild<QLabel*>("qt_msgbox_label")->text();
                    static_cast<QDialog*>(box)->accept();
                },
                modal);
        });
        window().command("PdfSave1")->trigger();
        QVERIFY(waitUntil([&] { return !finished.isEmpty(); }));
        QVERIFY(!finished.first().at(1).toBool());
        QVERIFY(waitUntil([&] { return !said.isEmpty(); }));
        QVERIFY2(said.contains("такой папки нет"), qPrintable(said));
        QVERIFY(!QFileInfo::exists(folder_.file("missing")));
    }

    void printPreviewShowsThePage() {
        int pages = -1;
        onModal([&](QWidget* modal) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
            if (preview == nullptr) return;
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            pages = widget != nullptr ? widget->pageCount() : 0;
            preview->reject();
        });
        QVERIFY(activate(window()));
        QTest::keyClick(&window(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(waitUntil([&] { return pages >= 0; }));
        QVERIFY(pages >= 1);
    }
};

ZORBINTA_GUI_TEST_MAIN(PagePrintingTest)
#include "page_printing_test.moc"
