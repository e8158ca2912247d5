// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/TForm5.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"
#include "platform/qt/QtText.h"
#include "update/core/Settings.h"

namespace zorbinta::qt {

TForm5::TForm5(NewVersionPrompt& model, MessageBox& messages, QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages) {
    setObjectName("Form5");
    setWindowTitle(dialogCaption(DialogId::Prompt));
    setModal(true);
    // A fixed-size dialog: a caption and a close box, nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    // The question, the box, "Да" and "Нет".
    const std::vector<std::string> texts = model_.texts();
    question_ = new QLabel(qs(texts.at(0)));
    question_->setObjectName("Label1");
    box_ = new QCheckBox(qs(texts.at(1)));
    box_->setObjectName("CheckBox1");
    yes_ = new QPushButton(qs(texts.at(2)));
    yes_->setObjectName("Button1");
    yes_->setDefault(true);
    no_ = new QPushButton(qs(texts.at(3)));
    no_->setObjectName("Button2");
    no_->setAutoDefault(false);

    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(question_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(yes_);
    buttons->addWidget(no_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addLayout(top);
    layout->addWidget(box_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(box_, &QCheckBox::toggled, this, [this](bool on) { model_.CheckBox1 = on; });
    connect(yes_, &QPushButton::clicked, this, [this] { run(&NewVersionPrompt::Button1Click); });
    connect(no_, &QPushButton::clicked, this, [this] { run(&NewVersionPrompt::Button2Click); });
}

void TForm5::run(void (NewVersionPrompt::*handler)()) {
    model_.CheckBox1 = box_->isChecked();
    runGuarded(messages_, [this, handler] { (model_.*handler)(); });
}

void TForm5::showEvent(QShowEvent* event) {
    // Centred on the desktop as every dialog is, by the one who shows it.
    box_->setChecked(model_.CheckBox1);
    QDialog::showEvent(event);
}

void TForm5::closeEvent(QCloseEvent* event) {
    event->ignore();
    run(&NewVersionPrompt::closeBox);
}

void TForm5::reject() {
    // Escape closes the prompt as its close box does: nothing written.
    run(&NewVersionPrompt::closeBox);
}

}  // namespace zorbinta::qt
