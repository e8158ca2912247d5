// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual-server search dialog: eight bounds with their key filters,
// four "Неогр." boxes, fifteen option boxes in three columns of five, and
// "Найти" / "Отмена". The widgets mirror the dialog's model: filled from it
// when shown, written back before any of its handlers runs.

#include <QDialog>
#include <array>

class QCheckBox;
class QGridLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorbinta {
class MessageBox;
class SearchDialog;
}  // namespace zorbinta

namespace zorbinta::qt {

class TForm4 final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEdits = 8;
    static constexpr int kBoxes = 19;

    TForm4(SearchDialog& model, MessageBox& messages, QWidget* parent);

    QLineEdit* edit(int n) const { return edits_.at(static_cast<size_t>(n)); }
    QCheckBox* checkBox(int n) const { return boxes_.at(static_cast<size_t>(n)); }
    QLabel* label(int n) const { return labels_.at(static_cast<size_t>(n)); }
    QPushButton* findButton() const { return find_; }
    QPushButton* cancelButton() const { return cancel_; }

    // The model's texts and boxes into the widgets, and back.
    void showModel();
    void writeModel();
    // Before it is shown: laid out so that the whole dialog fits in room
    // where it can.
    void fitInto(const QSize& room);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key press is used up by the field's filter.
    bool filterKeyPress(int edit, QKeyEvent* event);
    // The widgets into the model, then the model's handler, its error shown.
    void run(void (SearchDialog::*handler)());
    // How the dialog is laid out: the option boxes in so many columns, and
    // everything closer together when compact.
    struct Arrangement {
        int columns = 3;
        bool compact = false;
    };
    static constexpr Arrangement kDesign{3, false};
    static constexpr Arrangement kArrangements[] = {kDesign, {3, true}, {2, false}, {2, true}};
    void arrange(const Arrangement& how);

    SearchDialog& model_;
    MessageBox& messages_;
    std::array<QLineEdit*, kEdits + 1> edits_{};
    std::array<QLabel*, kEdits + 1> labels_{};
    std::array<QCheckBox*, kBoxes + 1> boxes_{};
    QPushButton* find_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QGridLayout* bounds_ = nullptr;
    QGridLayout* options_ = nullptr;
};

}  // namespace zorbinta::qt
