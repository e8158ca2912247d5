// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/qt/TForm2.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "about/core/AboutBox.h"
#include "about/qt/LinkLabel.h"
#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"
#include "platform/qt/QtText.h"

namespace zorbinta::qt {
namespace {

constexpr int kNamePixels = 13;

}  // namespace

TForm2::TForm2(AboutBox& model, MessageBox& messages, QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages) {
    setObjectName("Form2");
    setWindowTitle(dialogCaption(DialogId::About));
    setModal(true);
    // A fixed-size dialog: a caption and a close box, nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    for (int n = 1; n <= 9; ++n) {
        const QString text = qs(AboutBox::labelText(n));
        QLabel* label = nullptr;
        if (n == 3 || n == 4) {
            auto* link = new LinkLabel(text);
            connect(link, &LinkLabel::followed, this,
                    [this, n] { runGuarded(messages_, [this, n] { model_.clickLabel(n); }); });
            label = link;
        } else {
            label = new QLabel(text);
        }
        label->setObjectName(QString("Label%1").arg(n));
        label->installEventFilter(this);
        labels_[static_cast<size_t>(n)] = label;
    }
    QFont name = label(1)->font();
    name.setBold(true);
    name.setPixelSize(kNamePixels);
    label(1)->setFont(name);
    for (const int caption : {9, 6, 7})
        label(caption)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Name, version, developer, site and mail from top to bottom.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 18, 24, 22);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->addWidget(label(1), 0, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(label(2), 1, 0, 1, 2, Qt::AlignHCenter);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(label(9), 3, 0);
    grid->addWidget(label(5), 3, 1);
    grid->addWidget(label(8), 4, 1);
    grid->addWidget(label(6), 5, 0);
    grid->addWidget(label(3), 5, 1);
    grid->addWidget(label(7), 6, 0);
    grid->addWidget(label(4), 6, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm2::run(void (AboutBox::*handler)()) {
    runGuarded(messages_, [this, handler] { (model_.*handler)(); });
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int n = 1; n <= 9; ++n) {
            if (watched != label(n)) continue;
            // A click on a label never reaches the background.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                runGuarded(messages_, [this, n] { model_.clickLabel(n); });
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    run(&AboutBox::formclick);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // The model decides; it closes the box through the dialog service.
    event->ignore();
    run(&AboutBox::closeBox);
}

void TForm2::reject() {
    run(&AboutBox::closeBox);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The box itself has the keyboard, so that Enter closes it; Tab goes on
    // to the links.
    setFocus(Qt::ActiveWindowFocusReason);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    // The box has no buttons; Enter closes it as its close box does.
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        run(&AboutBox::closeBox);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zorbinta::qt
