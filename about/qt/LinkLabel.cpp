// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/qt/LinkLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "platform/qt/Contrast.h"

namespace zorbinta::qt {
namespace {

// To screen readers a link, which they offer to follow.
class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return link()->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            link()->follow();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* linkAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(LinkLabel::staticMetaObject.className())) return nullptr;
    auto* label = qobject_cast<LinkLabel*>(object);
    return label != nullptr ? new LinkAccessible(label) : nullptr;
}

}  // namespace

QColor linkColour(const QPalette& palette) {
    if (!isDark(palette)) return QColor(0x00, 0x00, 0xff);
    const QColor back = palette.color(QPalette::Window);
    const QColor link = palette.color(QPalette::Link);
    const QColor text = palette.color(QPalette::WindowText);
    // Towards the text colour, which a dark palette keeps readable.
    for (int step = 0; step <= 10; ++step) {
        const double t = step / 10.0;
        const QColor mixed =
            QColor::fromRgbF(static_cast<float>(link.redF() * (1 - t) + text.redF() * t),
                             static_cast<float>(link.greenF() * (1 - t) + text.greenF() * t),
                             static_cast<float>(link.blueF() * (1 - t) + text.blueF() * t));
        if (contrastRatio(mixed, back) >= kTextContrast) return step == 0 ? link : mixed;
    }
    return text;
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(&linkAccessible);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    recolour();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        follow();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // Where the keyboard is, as on every focused control.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !recolouring_) recolour();
}

void LinkLabel::recolour() {
    // From the palette the label would have without its own text colour.
    QPalette shown =
        parentWidget() != nullptr ? parentWidget()->palette() : QApplication::palette(this);
    const QColor colour = linkColour(shown);
    if (palette().color(QPalette::WindowText) == colour) return;
    shown = palette();
    shown.setColor(QPalette::WindowText, colour);
    recolouring_ = true;
    setPalette(shown);
    recolouring_ = false;
}

}  // namespace zorbinta::qt
