// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/DesktopApplication.h"

#include <QMessageBox>
#include <exception>

#include "shell/core/Application.h"
#include "shell/qt/WindowPlacement.h"

namespace zorbinta::qt {
namespace {

void showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    placeDialog(box);
    box.exec();
}

}  // namespace

DesktopApplication::DesktopApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool DesktopApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError("Unknown error");
    }
    return false;
}

}  // namespace zorbinta::qt
