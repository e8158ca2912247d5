// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/PagePrinting.h"

#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <exception>

#include "pages/qt/CataloguePage.h"
#include "pages/qt/QtBrowserPane.h"
#include "shell/core/MainController.h"
#include "shell/core/PageFiles.h"
#include "shell/qt/WindowPlacement.h"

namespace zorbinta::qt {
namespace {

QPageLayout::Orientation orientationOf(Paper paper) {
    return paper == Paper::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPageLayout a4(Paper paper) {
    return QPageLayout(QPageSize(QPageSize::A4), orientationOf(paper), QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

}  // namespace

PagePrinting::PagePrinting(QtBrowserPane& pane, MainController& controller, SaveDialog& saveDialog,
                           MessageBox& messages, QWidget* owner)
    : pane_(pane),
      controller_(controller),
      saveDialog_(saveDialog),
      messages_(messages),
      owner_(owner) {
    // The rows' colours are the page's: they go onto paper too.
    pane_.view()->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
}

void PagePrinting::print() {
    if (printing_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(a4(controller_.pagePaper()));
    QPrintPreviewDialog preview(&printer, owner_);
    preview.setObjectName("PrintPreview1");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, &PagePrinting::printOnto);
    placeDialog(preview);
    preview.exec();
}

void PagePrinting::printOnto(QPrinter* printer) {
    QWebEngineView* view = pane_.view();
    if (view == nullptr || printing_) return;
    printing_ = true;
    bool finished = false;
    QEventLoop loop;
    const auto connection = connect(view, &QWebEngineView::printFinished, &loop, [&](bool) {
        finished = true;
        loop.quit();
    });
    view->print(printer);
    if (!finished) loop.exec();
    disconnect(connection);
    printing_ = false;
}

void PagePrinting::saveAsPdf() {
    const std::optional<SaveChoice> choice =
        saveDialog_.askSaveFile({{pdfFileType()}, controller_.proposedPageFileName("pdf")});
    if (!choice || choice->path.empty()) return;
    const std::string path = withExtension(choice->path, "pdf");
    // Made in memory and written as every file of the program, so that a
    // failure leaves no half file behind.
    QPointer<PagePrinting> self(this);
    pane_.page()->printToPdf(
        [self, path](const QByteArray& bytes) {
            if (self) self->pdfMade(path, bytes);
        },
        a4(controller_.pagePaper()));
}

void PagePrinting::pdfMade(const std::string& path, const QByteArray& bytes) {
    bool ok = false;
    if (bytes.isEmpty()) {
        messages_.showError("Страница не сохранена в файл «" + path +
                            "»: не удалось разложить её по страницам PDF.");
    } else {
        runGuarded(messages_, [&] {
            writePageFile(path,
                          std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                          "Страница");
            ok = true;
        });
    }
    emit pdfFinished(QString::fromStdString(path), ok);
}

}  // namespace zorbinta::qt
