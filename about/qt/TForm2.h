// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: name, version, developer, and the maker's site and mail
// address as links, which the keyboard reaches too. A click on its
// background closes it.

#include <QDialog>
#include <array>

class QLabel;

namespace zorbinta {
class AboutBox;
class MessageBox;
}  // namespace zorbinta

namespace zorbinta::qt {

class TForm2 final : public QDialog {
    Q_OBJECT
public:
    TForm2(AboutBox& model, MessageBox& messages, QWidget* parent);

    QLabel* label(int number) const { return labels_.at(static_cast<size_t>(number)); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The model's handler, its error shown.
    void run(void (AboutBox::*handler)());

    AboutBox& model_;
    MessageBox& messages_;
    std::array<QLabel*, 10> labels_{};  // Label1 .. Label9
};

}  // namespace zorbinta::qt
