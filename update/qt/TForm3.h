// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The download dialog "Обновление": a label, the bar, a status line that says
// why the last download brought nothing, and two buttons over the
// UpdateDialog model. The bar repaints after every chunk while the transfer
// runs in the client's local event loop, so "Отмена" and the close box stay
// live.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zorbinta {
class UpdateDialog;
}

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(zorbinta::UpdateDialog& model, QWidget* parent = nullptr);
    ~TForm3() override;

    // Shows the model's bar figures.
    void refresh();
    // Shows why the last download failed; empty once the next one starts.
    void showFailure();

    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* StatusLine = nullptr;
    QPushButton* Button1 = nullptr;  // "Загрузить"
    QPushButton* Button2 = nullptr;  // "Отмена"

protected:
    void showEvent(QShowEvent* event) override;
    // The user's close box and Escape go to the model, which closes the
    // dialog through ModalDialogs (or first stops a transfer). Closing by
    // program (close(), done(), reject()) is not intercepted.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Button1Click();
    void Button2Click();
    void closeBox();

    zorbinta::UpdateDialog& model_;
};
