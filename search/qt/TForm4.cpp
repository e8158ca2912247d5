// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/qt/TForm4.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"
#include "platform/qt/QtText.h"
#include "search/core/SearchDialog.h"

namespace zorbinta::qt {
namespace {

constexpr int kFirstOptionBox = 5;
constexpr int kFieldWidth = 90;

// The "Неогр." box of a row, 0 when the row has none.
int unlimitedBoxOf(int edit) {
    return edit >= 2 && edit <= 5 ? edit - 1 : 0;
}

// Marks one letter of each text for Alt+letter, no letter twice: the first
// letter of a word where there is one left, else any letter; an "&" of the
// text itself stays a plain ampersand.
QStringList withMnemonics(const QStringList& texts) {
    QString taken;
    QStringList marked;
    for (const QString& text : texts) {
        qsizetype pick = -1;
        for (const bool wordStart : {true, false}) {
            for (qsizetype i = 0; i < text.size() && pick < 0; ++i) {
                if (!text[i].isLetter() || taken.contains(text[i].toLower())) continue;
                if (wordStart && i > 0 && text[i - 1].isLetterOrNumber()) continue;
                pick = i;
            }
        }
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i == pick) {
                out += '&';
                taken += text[i].toLower();
            }
            if (text[i] == '&') out += '&';
            out += text[i];
        }
        marked << out;
    }
    return marked;
}

}  // namespace

TForm4::TForm4(SearchDialog& model, MessageBox& messages, QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages) {
    setObjectName("Form4");
    setWindowTitle(dialogCaption(DialogId::Search));
    setModal(true);
    // A fixed-size dialog: a caption and a close box, nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* boundsFrame = new QFrame;
    boundsFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* rows = new QGridLayout(boundsFrame);
    bounds_ = rows;
    rows->setHorizontalSpacing(10);
    rows->setColumnStretch(0, 1);
    for (int n = 1; n <= kEdits; ++n) {
        auto* label = new QLabel;
        label->setObjectName(QString("Label%1").arg(n));
        auto* edit = new QLineEdit;
        edit->setObjectName(QString("Edit%1").arg(n));
        edit->setMaxLength(SearchDialog::maxLength(n));
        edit->setFixedWidth(kFieldWidth);
        edit->setContextMenuPolicy(Qt::DefaultContextMenu);
        edit->installEventFilter(this);
        label->setBuddy(edit);
        labels_[static_cast<size_t>(n)] = label;
        edits_[static_cast<size_t>(n)] = edit;
        rows->addWidget(label, n - 1, 0);
        rows->addWidget(edit, n - 1, 1);
    }
    for (int n = 1; n <= kBoxes; ++n) {
        auto* box = new QCheckBox;
        box->setObjectName(QString("CheckBox%1").arg(n));
        boxes_[static_cast<size_t>(n)] = box;
    }
    for (int edit = 1; edit <= kEdits; ++edit) {
        if (const int box = unlimitedBoxOf(edit)) rows->addWidget(checkBox(box), edit - 1, 2);
    }

    auto* optionsFrame = new QFrame;
    optionsFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    options_ = new QGridLayout(optionsFrame);
    options_->setHorizontalSpacing(18);

    find_ = new QPushButton("Найти");
    find_->setObjectName("Button1");
    find_->setDefault(true);
    cancel_ = new QPushButton("Отмена");
    cancel_->setObjectName("Button2");
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(find_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boundsFrame);
    layout->addWidget(optionsFrame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    arrange(kDesign);

    // Top to bottom: each field with its "Неогр." box, the options column by
    // column, then the buttons.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    };
    for (int n = 1; n <= kEdits; ++n) {
        chain(edit(n));
        if (const int box = unlimitedBoxOf(n)) chain(checkBox(box));
    }
    for (int n = kFirstOptionBox; n <= kBoxes; ++n) chain(checkBox(n));
    chain(find_);
    chain(cancel_);

    connect(find_, &QPushButton::clicked, this, [this] { run(&SearchDialog::Button1Click); });
    connect(cancel_, &QPushButton::clicked, this, [this] { run(&SearchDialog::Button2Click); });
}

void TForm4::arrange(const Arrangement& how) {
    // The options column by column, as the keyboard walks them.
    const int rows = (kBoxes - kFirstOptionBox + how.columns) / how.columns;
    for (int n = kFirstOptionBox; n <= kBoxes; ++n) options_->removeWidget(checkBox(n));
    for (int n = kFirstOptionBox; n <= kBoxes; ++n) {
        const int k = n - kFirstOptionBox;
        options_->addWidget(checkBox(n), k % rows, k / rows);
    }
    bounds_->setVerticalSpacing(how.compact ? 2 : 6);
    options_->setVerticalSpacing(how.compact ? 1 : 4);
    layout()->setContentsMargins(14, how.compact ? 8 : 14, 14, how.compact ? 8 : 12);
    layout()->setSpacing(how.compact ? 6 : 12);
    // Measured now, before the dialog was ever shown: the frames' own
    // layouts first, so that the dialog's sees their new sizes.
    ensurePolished();
    for (QLayout* inner : {static_cast<QLayout*>(bounds_), static_cast<QLayout*>(options_)}) {
        inner->invalidate();
        inner->activate();
    }
    layout()->invalidate();
    layout()->activate();
}

void TForm4::fitInto(const QSize& room) {
    showModel();  // the captions decide the size
    // As designed where it fits; where the screen is small for it (a small
    // screen, or a large scale), closer together and in two columns.
    for (const Arrangement& how : kArrangements) {
        arrange(how);
        if (width() <= room.width() && height() <= room.height()) return;
    }
}

void TForm4::showModel() {
    const SearchDialog& model = model_;
    QStringList captions;
    for (int n = 1; n <= kEdits; ++n) {
        edit(n)->setText(qs(model.Edit[static_cast<size_t>(n)]));
        captions << qs(model.Label[static_cast<size_t>(n)]);
    }
    // Alt+letter of a label reaches its field.
    const QStringList marked = withMnemonics(captions);
    for (int n = 1; n <= kEdits; ++n) label(n)->setText(marked[n - 1]);
    for (int n = 1; n <= kBoxes; ++n) {
        checkBox(n)->setChecked(model.CheckBox[static_cast<size_t>(n)]);
        checkBox(n)->setText(qs(model.CheckBoxCaption[static_cast<size_t>(n)]));
    }
    // The four "Неогр." boxes read alike; a screen reader names each with its row.
    for (int n = 1; n <= kEdits; ++n) {
        const int box = unlimitedBoxOf(n);
        if (box == 0) continue;
        checkBox(box)->setAccessibleName(captions[n - 1] + ": " + checkBox(box)->text().toLower());
    }
}

void TForm4::writeModel() {
    SearchDialog& model = model_;
    for (int n = 1; n <= kEdits; ++n) {
        model.Edit[static_cast<size_t>(n)] = edit(n)->text().toStdString();
    }
    for (int n = 1; n <= kBoxes; ++n) {
        model.CheckBox[static_cast<size_t>(n)] = checkBox(n)->isChecked();
    }
}

void TForm4::run(void (SearchDialog::*handler)()) {
    writeModel();
    runGuarded(messages_, [this, handler] { (model_.*handler)(); });
    // An error leaves the dialog open with what the model now holds.
    if (isVisible()) showModel();
}

void TForm4::showEvent(QShowEvent* event) {
    showModel();
    edit(1)->setFocus(Qt::TabFocusReason);
    edit(1)->selectAll();
    QDialog::showEvent(event);
}

void TForm4::closeEvent(QCloseEvent* event) {
    event->ignore();
    run(&SearchDialog::closeBox);
}

void TForm4::reject() {
    // Escape is the close box.
    run(&SearchDialog::closeBox);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (int n = 1; n <= kEdits; ++n) {
            if (watched == edit(n)) return filterKeyPress(n, static_cast<QKeyEvent*>(event));
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm4::filterKeyPress(int n, QKeyEvent* event) {
    switch (event->key()) {
        // Dialog keys and keys that type no character are the field's own.
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false;
        default:
            break;
    }
    char32_t key = 0;
    if (event->key() == Qt::Key_Backspace) {
        key = kBackspace;
    } else {
        const QList<uint> codes = event->text().toUcs4();
        if (codes.isEmpty()) return false;
        key = codes.front();
    }
    QLineEdit* field = edit(n);
    const int caret = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    KeyResult result;
    runGuarded(messages_, [&] {
        result = filterKey(SearchDialog::filterOf(n), field->text().toStdString(), caret, key);
    });
    switch (result.outcome) {
        case KeyOutcome::Accepted:
            if (result.character == key || result.character == 0) return false;
            [[fallthrough]];
        case KeyOutcome::Replaced: {
            const char32_t c = result.character;
            field->insert(QString::fromUcs4(&c, 1));
            return true;
        }
        case KeyOutcome::Refused:
            return true;
    }
    return true;
}

}  // namespace zorbinta::qt
