// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The new-version prompt, centred on the desktop: the question, the box
// "Больше не показывать данное сообщение", and "Да" / "Нет".

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zorbinta {
class MessageBox;
class NewVersionPrompt;
}  // namespace zorbinta

namespace zorbinta::qt {

class TForm5 final : public QDialog {
    Q_OBJECT
public:
    TForm5(NewVersionPrompt& model, MessageBox& messages, QWidget* parent);

    QLabel* question() const { return question_; }
    QCheckBox* checkBox() const { return box_; }
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The box into the model, then the model's handler, its error shown.
    void run(void (NewVersionPrompt::*handler)());

    NewVersionPrompt& model_;
    MessageBox& messages_;
    QLabel* question_ = nullptr;
    QCheckBox* box_ = nullptr;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
};

}  // namespace zorbinta::qt
