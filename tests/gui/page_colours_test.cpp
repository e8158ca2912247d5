// SPDX-License-Identifier: GPL-3.0-or-later
// The page in the desktop's colours. On a dark palette the engine reports a
// dark scheme, and every text of the catalogue's pages stands at 4.5:1 or
// more on the ground it is drawn on, the rows' two colours apart from each
// other and from the page. On a light palette the pages keep their own
// colours. The engine takes its scheme once, as it starts, so the light
// palette is a run of its own (ZORBINTA_TEST_PALETTE=light).

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

#include "GuiHarness.h"
#include "pages/qt/ColourScheme.h"
#include "shell/qt/DesktopProgram.h"
#include "shell/qt/TForm1.h"

using namespace zorbinta::gui;
using zorbinta::qt::DesktopProgram;

namespace {

// Every element that shows text (its own text nodes, a button's caption, a
// list box's choice): its colour, the ground under it (the first ancestor
// with a background; every stop of a gradient) and their contrast ratio, the
// worst of them first. Also the page's ground and its rows' two colours.
constexpr char kMeasure[] = R"(
(function() {
    const rgb = t => (t.match(/rgba?\([^)]*\)/g) || []).map(c => c.match(/[\d.]+/g).map(Number));
    const lum = c => {
        const l = c.slice(0, 3).map(v => {
            v /= 255;
            return v <= 0.03928 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
        });
        return 0.2126 * l[0] + 0.7152 * l[1] + 0.0722 * l[2];
    };
    const ratio = (a, b) => {
        const x = lum(a), y = lum(b);
        return (Math.max(x, y) + 0.05) / (Math.min(x, y) + 0.05);
    };
    const grounds = e => {
        for (; e; e = e.parentElement) {
            const s = getComputedStyle(e);
            if (s.backgroundImage.includes('gradient')) return rgb(s.backgroundImage);
            const c = rgb(s.backgroundColor)[0];
            if (c && (c.length < 4 || c[3] > 0)) return [c];
        }
        return [[255, 255, 255]];
    };
    const texts = [];
    for (const e of document.querySelectorAll('body, body *')) {
        const own = [...e.childNodes].some(n => n.nodeType === 3 && n.textContent.trim());
        if (!e.getClientRects().length || (!own && !e.matches('input, select'))) continue;
        const fg = rgb(getComputedStyle(e).color)[0];
        for (const bg of grounds(e)) {
            texts.push({what: e.tagName + '.' + e.className + ' ' + (e.textContent || e.value).trim()
                              .slice(0, 30), color: fg.join(','), ground: bg.join(','),
                        ratio: ratio(fg, bg)});
        }
    }
    texts.sort((a, b) => a.ratio - b.ratio);
    const row = v => {
        const e = document.querySelector('[bgcolor="' + v + '"]');
        return e ? rgb(getComputedStyle(e).backgroundColor)[0].slice(0, 3).join(',') : '';
    };
    return JSON.stringify({texts: texts, page: grounds(document.body)[0].join(','),
                           rowA: row('#FFE6CC'), rowB: row('#F4F4FF'),
                           dark: matchMedia('(prefers-color-scheme: dark)').matches});
})())";

}  // namespace

class PageColoursTest : public QObject {
    Q_OBJECT

private:
    ProgramFolder folder_;
    std::unique_ptr<DesktopProgram> program_;
    std::unique_ptr<QSignalSpy> routed_;
    bool dark_ = true;

    zorbinta::qt::QtBrowserPane& pane() { return program_->pane(); }

private slots:
    void initTestCase() {
        dark_ = qEnvironmentVariable("ZORBINTA_TEST_PALETTE") != "light";
        const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (dark_) QApplication::setPalette(QPalette(QColor(0x2d, 0x2d, 0x2d)));
        zorbinta::qt::followPaletteColourScheme();
        // The test's own flags stay; a light desktop's engine gets nothing more.
        const QByteArray now = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        QVERIFY(now.startsWith(flags.trimmed()));
        QCOMPARE(now == flags, !dark_);
        program_ = std::make_unique<DesktopProgram>(zorbinta::ProgramFiles(folder_.path()));
        routed_ = std::make_unique<QSignalSpy>(&pane(),
                                               &zorbinta::qt::QtBrowserPane::navigationCompleted);
        program_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&program_->mainWindow()));
        QVERIFY(waitUntil([&] { return !pane().writtenPage().empty(); }));
        QVERIFY(waitComplete(pane()));
    }

    void everyTextOfEveryPage_data() {
        QTest::addColumn<QString>("location");
        const auto& catalogue = program_->app().catalogue;
        const long long provider =
            std::llround(catalogue.number(zorbinta::ProviderTable, zorbinta::slot::ProviderId, 1));
        QTest::newRow("start page") << QString();
        QTest::newRow("results") << QString::fromStdString(folder_.templ("main.htm?stoim"));
        QTest::newRow("domains") << QString::fromStdString(folder_.templ("main.htm?dom"));
        QTest::newRow("free hosting") << QString::fromStdString(folder_.templ("main.htm?free"));
        QTest::newRow("provider") << QString::fromStdString(
            folder_.templ("main.htm?provid=" + std::to_string(provider)));
        QTest::newRow("comparison") << QString("http://srav/?nom=1&nom=2&nom=3");
    }

    void everyTextOfEveryPage() {
        QFETCH(QString, location);
        if (!location.isEmpty()) {
            const qsizetype before = routed_->size();
            pane().navigate(location.toStdString());
            QVERIFY(waitUntil([&] { return routed_->size() > before; }));
            QVERIFY(waitComplete(pane()));
        }
        const QJsonObject measured =
            QJsonDocument::fromJson(evaluate(pane(), kMeasure).toString().toUtf8()).object();
        const QJsonArray texts = measured["texts"].toArray();
        QVERIFY(!texts.isEmpty());
        QCOMPARE(measured["dark"].toBool(), dark_);
        const QJsonObject worst = texts.first().toObject();
        qInfo("lowest contrast %.2f : 1, %s (%s on %s)", worst["ratio"].toDouble(),
              qPrintable(worst["what"].toString()), qPrintable(worst["color"].toString()),
              qPrintable(worst["ground"].toString()));
        const QString rowA = measured["rowA"].toString();
        const QString rowB = measured["rowB"].toString();
        const QString page = measured["page"].toString();
        // A light desktop: today's ground and rows.
        if (!dark_) {
            QCOMPARE(page, QString("251,251,253"));
            if (!rowA.isEmpty()) QCOMPARE(rowA, QString("255,230,204"));
            if (!rowB.isEmpty()) QCOMPARE(rowB, QString("244,244,255"));
            return;
        }
        QVERIFY2(worst["ratio"].toDouble() >= 4.5, qPrintable(worst["what"].toString()));
        QVERIFY(page != "251,251,253");
        if (!rowA.isEmpty() && !rowB.isEmpty()) QVERIFY(rowA != rowB);
        for (const QString& row : {rowA, rowB}) {
            QVERIFY(row != page);
            QVERIFY(row != "255,230,204" && row != "244,244,255");
        }
    }
};

ZORBINTA_GUI_TEST_MAIN(PageColoursTest)
#include "page_colours_test.moc"
