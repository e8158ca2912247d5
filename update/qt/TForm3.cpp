// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/TForm3.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"
#include "platform/qt/QtText.h"
#include "update/core/UpdateDialog.h"

TForm3::TForm3(zorbinta::UpdateDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
    setWindowTitle(zorbinta::qt::qs(zorbinta::dialogCaption(zorbinta::DialogId::Update)));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const std::vector<std::string> texts = model_.texts();
    Label1 = new QLabel(zorbinta::qt::qs(texts.at(0)), this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    StatusLine = new QLabel(this);
    StatusLine->setObjectName("StatusLine");
    StatusLine->setWordWrap(true);
    StatusLine->setTextFormat(Qt::PlainText);
    // Room for two lines, so that the window keeps its size as texts come and go.
    StatusLine->setMinimumHeight(2 * StatusLine->fontMetrics().lineSpacing());
    StatusLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Button1 = new QPushButton(zorbinta::qt::qs(texts.at(1)), this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton(zorbinta::qt::qs(texts.at(2)), this);
    Button2->setObjectName("Button2");
    // Enter is "Загрузить" (while a transfer runs, the button and Enter
    // with it are off); Escape is the close box.
    Button1->setDefault(true);
    Button2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(StatusLine);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    setSizeGripEnabled(false);

    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    model_.onProgress = [this] { refresh(); };
    model_.onFailure = [this] { showFailure(); };
    refresh();
    showFailure();
}

TForm3::~TForm3() {
    model_.onProgress = nullptr;
    model_.onFailure = nullptr;
}

void TForm3::showFailure() {
    StatusLine->setText(zorbinta::qt::qs(zorbinta::describeFailure(model_.failure())));
    // A text longer than the room kept for it makes the window taller.
    if (isVisible() && sizeHint().height() > height()) adjustSize();
    StatusLine->repaint();
}

void TForm3::refresh() {
    if (model_.progressMax > model_.progressMin) {
        ProgressBar1->setRange(model_.progressMin, model_.progressMax);
        ProgressBar1->setValue(model_.progressPosition);
    } else {
        // An empty range would make the bar a busy indicator.
        ProgressBar1->setRange(0, 1);
        ProgressBar1->setValue(0);
    }
    ProgressBar1->repaint();
}

void TForm3::Button1Click() {
    Button1->setEnabled(false);
    zorbinta::runGuarded(model_.messageBox(), [this] { model_.Button1Click(); });
    Button1->setEnabled(true);
    refresh();
}

void TForm3::Button2Click() {
    zorbinta::runGuarded(model_.messageBox(), [this] { model_.Button2Click(); });
}

void TForm3::closeBox() {
    zorbinta::runGuarded(model_.messageBox(), [this] { model_.closeBox(); });
}

void TForm3::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void TForm3::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    closeBox();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        closeBox();
        return;
    }
    QDialog::keyPressEvent(event);
}
