#include "shell/qt/QtServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include "shell/core/Application.h"

namespace zorbinta::qt {
namespace {

QString qs(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QWidget* QtMessageBox::visibleOwner() const {
    return owner_ && owner_->isVisible() ? owner_.data() : nullptr;
}

void QtMessageBox::showMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption.empty() ? kApplicationTitle : qs(caption),
                    qs(text), QMessageBox::Ok, visibleOwner());
    box.exec();
}

void QtMessageBox::showError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, qs(text), QMessageBox::Ok,
                    visibleOwner());
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

std::optional<std::string> QtSaveDialog::askFileName() {
    QFileDialog dialog(owner_, QFileDialog::tr("Save As"), QString(), "HTML (*.htm)");
    dialog.setObjectName("SaveDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("htm");
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first().toStdString();
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
    // Sized before it is placed, so that it opens centred over its owner.
    d->adjustSize();
    d->exec();
}

void QtModalDialogs::close(DialogId id) {
    if (QDialog* d = dialog(id)) d->done(QDialog::Accepted);
}

}  // namespace zorbinta::qt
