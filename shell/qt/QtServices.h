// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform services of the desktop program: message boxes, opening
// addresses with the user's default programs, the desktop work area, the
// save dialog and the modal dialogs.

#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <string>

#include "shell/core/Platform.h"

class QDialog;

namespace zorbinta::qt {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* owner) : owner_(owner) {}
    void showMessage(const std::string& text, const std::string& caption = {}) override;
    void showError(const std::string& text) override;

private:
    QWidget* visibleOwner() const;
    QPointer<QWidget> owner_;
};

class QtLinkOpener final : public LinkOpener {
public:
    void open(const std::string& target) override;
};

class QtWorkArea final : public WorkArea {
public:
    explicit QtWorkArea(QWidget* window) : window_(window) {}
    Rect workArea() const override;

private:
    QPointer<QWidget> window_;
};

// "HTML|*.htm", default extension ".htm", no question before replacing a file.
// It opens in the user's documents folder, later in the run in the folder of
// the last page saved.
class QtSaveDialog final : public SaveDialog {
public:
    explicit QtSaveDialog(QWidget* owner) : owner_(owner) {}
    std::optional<std::string> askFileName() override;
    std::optional<SaveChoice> askSaveFile(const SaveRequest& request) override;
    QString startFolder() const;

private:
    QPointer<QWidget> owner_;
    QString lastFolder_;
};

class QtModalDialogs final : public ModalDialogs {
public:
    void add(DialogId id, QDialog* dialog);
    QDialog* dialog(DialogId id) const;
    void exec(DialogId id) override;
    void close(DialogId id) override;

private:
    std::map<DialogId, QPointer<QDialog>> dialogs_;
};

}  // namespace zorbinta::qt
