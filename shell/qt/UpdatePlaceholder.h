#pragma once
// Stands in for the download dialog until its own view is part of the
// program: the dialog's texts and its two buttons over the same model.

#include <QDialog>

#if !__has_include("update/qt/TForm3.h")

namespace zorbinta {
class UpdateDialog;
}

namespace zorbinta::qt {

class TForm3 final : public QDialog {
public:
    TForm3(UpdateDialog& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    UpdateDialog& model_;
};

}  // namespace zorbinta::qt

#endif
