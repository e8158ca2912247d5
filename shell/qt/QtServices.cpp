// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/QtServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include "platform/qt/QtText.h"
#include "search/qt/TForm4.h"
#include "shell/core/Application.h"
#include "shell/qt/WindowPlacement.h"

namespace zorbinta::qt {
QWidget* QtMessageBox::visibleOwner() const {
    return owner_ && owner_->isVisible() ? owner_.data() : nullptr;
}

void QtMessageBox::showMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption.empty() ? kApplicationTitle : qs(caption),
                    qs(text), QMessageBox::Ok, visibleOwner());
    placeDialog(box);
    box.exec();
}

void QtMessageBox::showError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, qs(text), QMessageBox::Ok,
                    visibleOwner());
    placeDialog(box);
    box.exec();
}

void QtLinkOpener::open(const std::string& target) {
    // As with the shell's default action, a failure is not reported.
    QDesktopServices::openUrl(QUrl(qs(target), QUrl::TolerantMode));
}

Rect QtWorkArea::workArea() const {
    QScreen* screen = window_ ? window_->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    const QRect r = screen->availableGeometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

QString QtSaveDialog::startFolder() const {
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) return lastFolder_;
    // Never the program's own folder, which an installation makes read-only.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

std::optional<std::string> QtSaveDialog::askFileName() {
    QFileDialog dialog(owner_, QFileDialog::tr("Save As"), startFolder(), "HTML (*.htm)");
    dialog.setObjectName("SaveDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("htm");
    placeDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(files.first()).absolutePath();
    return files.first().toStdString();
}

std::optional<SaveChoice> QtSaveDialog::askSaveFile(const SaveRequest& request) {
    QStringList filters;
    for (const FileType& type : request.types) {
        filters << QString("%1 (*.%2)").arg(qs(type.name), qs(type.extension));
    }
    QFileDialog dialog(owner_, QFileDialog::tr("Save As"), startFolder(), filters.join(";;"));
    dialog.setObjectName("SaveDialog2");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.types.empty()) dialog.setDefaultSuffix(qs(request.types.front().extension));
    dialog.selectFile(qs(request.proposedName));
    placeDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(files.first()).absolutePath();
    const auto type = static_cast<size_t>(qMax(0, filters.indexOf(dialog.selectedNameFilter())));
    return SaveChoice{files.first().toStdString(), type};
}

void QtModalDialogs::add(DialogId id, QDialog* dialog) {
    dialogs_[id] = dialog;
}

QDialog* QtModalDialogs::dialog(DialogId id) const {
    const auto it = dialogs_.find(id);
    return it == dialogs_.end() ? nullptr : it->second.data();
}

void QtModalDialogs::exec(DialogId id) {
    QDialog* d = dialog(id);
    if (d == nullptr) return;
    // Laid out for the room there is and sized before it is placed, so that
    // it opens whole and centred on its owner's screen.
    if (auto* search = qobject_cast<TForm4*>(d)) search->fitInto(dialogRoom(d->parentWidget()));
    d->adjustSize();
    placeDialog(*d);
    d->exec();
}

void QtModalDialogs::close(DialogId id) {
    if (QDialog* d = dialog(id)) d->done(QDialog::Accepted);
}

}  // namespace zorbinta::qt
