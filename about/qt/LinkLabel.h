// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that acts as a link: Tab reaches it, Enter and Space follow it as
// a click does, and screen readers are told it is a link. Its colour is the
// one links have on the palette it shows on (linkColour).

#include <QLabel>

namespace zorbinta::qt {

// Links are blue (#0000ff) on a light palette; on a dark one they take the
// palette's link colour, brought towards the text colour where it stands
// at less than 4.5 : 1 against the window.
QColor linkColour(const QPalette& palette);

class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // What a click does.
    void follow() { emit followed(); }

signals:
    void followed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void recolour();
    bool recolouring_ = false;
};

}  // namespace zorbinta::qt
