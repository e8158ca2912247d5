// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Файл → Печать (a print preview of the page on show, printed through the
// system's printers) and Файл → Сохранить как PDF: the desktop's own, since
// only the web engine lays a page out on paper.

#include <QObject>
#include <QPointer>
#include <QString>

class QPrinter;
class QWidget;

namespace zorbinta {
class MainController;
class MessageBox;
class SaveDialog;
}  // namespace zorbinta

namespace zorbinta::qt {

class QtBrowserPane;

class PagePrinting final : public QObject {
    Q_OBJECT
public:
    PagePrinting(QtBrowserPane& pane, MainController& controller, SaveDialog& saveDialog,
                 MessageBox& messages, QWidget* owner);

    // The preview dialog, modal; its Print button prints.
    void print();
    // Asks for a file name and writes the page there, A4, landscape for a
    // table of plans side by side. The write ends later, when the engine
    // has laid the page out: pdfFinished tells.
    void saveAsPdf();

signals:
    // ok: the file is written whole; otherwise the user was told why and no
    // file of that name was made or changed.
    void pdfFinished(const QString& path, bool ok);

private:
    // Prints the page onto printer and returns once the engine says it has
    // finished, so the printer outlives its use.
    void printOnto(QPrinter* printer);
    void pdfMade(const std::string& path, const QByteArray& bytes);

    QtBrowserPane& pane_;
    MainController& controller_;
    SaveDialog& saveDialog_;
    MessageBox& messages_;
    QPointer<QWidget> owner_;
    bool printing_ = false;
};

}  // namespace zorbinta::qt
