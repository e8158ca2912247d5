// SPDX-License-Identifier: GPL-3.0-or-later
// Back and Forward in the desktop program show a page scrolled as the user
// left it; a page reached by a link starts at its top.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include "GuiHarness.h"
#include "search/qt/TForm4.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

class HistoryScrollTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<DesktopProgram> program_;
    std::unique_ptr<QSignalSpy> routed_;

    zorbinta::qt::TForm1& window() { return program_->mainWindow(); }
    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }
    QString location() { return QString::fromStdString(pane().locationUrl()); }
    QString templ(const std::string& rest) { return QString::fromStdString(folder_.templ(rest)); }

    int scrollY() { return evaluate(pane(), "Math.round(window.scrollY)").toInt(); }
    // Scrolls the page on show and waits until the pane sees it scrolled.
    void scrollTo(int y) {
        QCOMPARE(
            evaluate(pane(), QString("window.scrollTo(0, %1); Math.round(window.scrollY)").arg(y))
                .toInt(),
            y);
        QVERIFY(waitUntil([&] { return qRound(pane().page()->scrollPosition().y()) == y; }));
    }
    bool arrive(const QString& at) {
        return waitUntil([&] { return location() == at; }) && waitComplete(pane());
    }

private slots:
    void initTestCase() {
        program_ = std::make_unique<DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        routed_ = std::make_unique<QSignalSpy>(&pane(),
                                               &zorbinta::qt::QtBrowserPane::navigationCompleted);
        program_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QVERIFY(waitUntil([&] { return !window().statusPanel(0)->text().isEmpty(); }));
    }

    void backAndForwardShowThePageScrolledAsItWasLeft() {
        onModal([this](QWidget*) { program_->searchDialog().findButton()->click(); });
        window().command("N6")->trigger();
        QVERIFY(arrive(templ("main.htm?stoim")));
        // Low enough that the results page scrolls.
        window().resize(700, 360);
        QVERIFY(waitUntil([&] {
            return evaluate(pane(), "document.scrollingElement.scrollHeight - innerHeight")
                       .toInt() > 100;
        }));
        // The heading link is clicked where it shows centred, as the user
        // scrolled to it.
        evaluate(pane(),
                 "document.querySelector('a[href=traf]').scrollIntoView({block: 'center'})");
        const int leftAt = scrollY();
        QVERIFY(leftAt > 0);
        scrollTo(leftAt);

        const qsizetype before = routed_->size();
        QVERIFY(clickElement(pane(), "a[href=traf]"));
        QVERIFY(waitUntil([&] { return routed_->size() > before; }));
        QVERIFY(arrive(templ("traf")));
        QCOMPARE(scrollY(), 0);
        scrollTo(90);

        window().command("ToolButton5")->trigger();
        QVERIFY(arrive(templ("main.htm?stoim")));
        QCOMPARE(scrollY(), leftAt);
        window().command("ToolButton6")->trigger();
        QVERIFY(arrive(templ("traf")));
        QCOMPARE(scrollY(), 90);
        // The written page is the router's, whatever the view shows.
        std::string source;
        QVERIFY(pane().documentSource(source));
        QCOMPARE(source, pane().writtenPage());
    }
};

ZORBINTA_GUI_TEST_MAIN(HistoryScrollTest)
#include "history_scroll_test.moc"
