#include "shell/qt/Pictures.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

namespace zorbinta::qt {
namespace {

// Colours in one place; a disabled picture takes each colour's grey.
class Ink {
public:
    explicit Ink(bool enabled) : enabled_(enabled) {}
    QColor operator()(const char* name, int alpha = 255) const {
        QColor c(name);
        if (!enabled_) {
            const int grey = 150 + qGray(c.rgb()) * 95 / 255;
            c = QColor(grey, grey, grey);
        }
        c.setAlpha(alpha);
        return c;
    }

private:
    bool enabled_;
};

QPen pen(const QColor& colour, qreal width) {
    QPen p(colour, width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// Everything below is drawn on a 28 x 28 grid.
void drawRoundArrow(QPainter& p, const Ink& ink, bool pointsRight) {
    QRadialGradient fill(QPointF(11, 9), 16);
    fill.setColorAt(0, ink("#7fd36b"));
    fill.setColorAt(1, ink("#2f8a2a"));
    p.setPen(pen(ink("#23661f"), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2.5, 2.5, 23, 23));
    QPainterPath arrow;
    arrow.moveTo(7, 14);
    arrow.lineTo(13.5, 7.5);
    arrow.lineTo(13.5, 11.2);
    arrow.lineTo(21, 11.2);
    arrow.lineTo(21, 16.8);
    arrow.lineTo(13.5, 16.8);
    arrow.lineTo(13.5, 20.5);
    arrow.closeSubpath();
    if (pointsRight) {
        p.save();
        p.translate(28, 0);
        p.scale(-1, 1);
    }
    p.setPen(pen(ink("#1d5a1a", 120), 0.8));
    p.setBrush(ink("#ffffff"));
    p.drawPath(arrow);
    if (pointsRight) p.restore();
}

void drawSave(QPainter& p, const Ink& ink) {
    QPainterPath body;
    body.moveTo(4, 5.5);
    body.quadTo(4, 4, 5.5, 4);
    body.lineTo(20.5, 4);
    body.lineTo(24, 7.5);
    body.lineTo(24, 22.5);
    body.quadTo(24, 24, 22.5, 24);
    body.lineTo(5.5, 24);
    body.quadTo(4, 24, 4, 22.5);
    body.closeSubpath();
    QLinearGradient fill(0, 4, 0, 24);
    fill.setColorAt(0, ink("#5b8fd0"));
    fill.setColorAt(1, ink("#2c5d9e"));
    p.setPen(pen(ink("#1f4475"), 1));
    p.setBrush(fill);
    p.drawPath(body);
    // The shutter and the label.
    p.setPen(Qt::NoPen);
    p.setBrush(ink("#d9e2ec"));
    p.drawRoundedRect(QRectF(8.5, 4.5, 10, 6.5), 0.8, 0.8);
    p.setBrush(ink("#2c5d9e"));
    p.drawRect(QRectF(15, 5.5, 2.2, 4.5));
    p.setBrush(ink("#ffffff"));
    p.drawRoundedRect(QRectF(7.5, 14, 13, 8.5), 1, 1);
    p.setPen(pen(ink("#9fb3c8"), 1));
    p.drawLine(QPointF(10, 17), QPointF(18, 17));
    p.drawLine(QPointF(10, 19.8), QPointF(18, 19.8));
}

void drawProviders(QPainter& p, const Ink& ink) {
    // A window with a list down its left side.
    p.setPen(pen(ink("#3d4f66"), 1));
    p.setBrush(ink("#ffffff"));
    p.drawRoundedRect(QRectF(3.5, 4.5, 21, 19), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ink("#3f73b5"));
    p.drawRoundedRect(QRectF(4, 5, 20, 3.5), 1, 1);
    p.setBrush(ink("#e4ecf7"));
    p.drawRect(QRectF(4, 8.5, 8, 14.5));
    p.setPen(pen(ink("#3f73b5"), 1.6));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 11.5 + row * 3.2;
        p.drawLine(QPointF(6, y), QPointF(10, y));
    }
    p.setPen(pen(ink("#b9c3cf"), 1.2));
    for (int row = 0; row < 4; ++row) {
        const qreal y = 11.5 + row * 3.2;
        p.drawLine(QPointF(14.5, y), QPointF(row % 2 ? 19.5 : 21.5, y));
    }
}

void drawSearch(QPainter& p, const Ink& ink) {
    p.setPen(pen(ink("#6b4a1f"), 4.2));
    p.drawLine(QPointF(17.5, 17.5), QPointF(23.5, 23.5));
    QRadialGradient glass(QPointF(10, 9), 9);
    glass.setColorAt(0, ink("#ffffff"));
    glass.setColorAt(1, ink("#b8d4f2"));
    p.setPen(pen(ink("#35506f"), 2.6));
    p.setBrush(glass);
    p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
    p.setPen(pen(ink("#ffffff", 200), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7.5, 7.5, 9, 9), 100 * 16, 70 * 16);
}

void drawUpdate(QPainter& p, const Ink& ink) {
    // A globe with a download arrow.
    QRadialGradient sea(QPointF(9, 8), 15);
    sea.setColorAt(0, ink("#8cc8f5"));
    sea.setColorAt(1, ink("#2f78c4"));
    p.setPen(pen(ink("#24598f"), 1));
    p.setBrush(sea);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(ink("#ffffff", 170), 0.9));
    p.drawEllipse(QRectF(8, 2.5, 8, 19));
    p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
    p.drawLine(QPointF(12, 2.5), QPointF(12, 21.5));
    p.drawArc(QRectF(4, 4, 16, 7), 0, 180 * 16);
    QPainterPath arrow;
    arrow.moveTo(17, 13);
    arrow.lineTo(22, 13);
    arrow.lineTo(22, 19);
    arrow.lineTo(25.5, 19);
    arrow.lineTo(19.5, 25.5);
    arrow.lineTo(13.5, 19);
    arrow.lineTo(17, 19);
    arrow.closeSubpath();
    p.setPen(pen(ink("#1f6b1c"), 1));
    p.setBrush(ink("#4cb848"));
    p.drawPath(arrow);
}

void drawClose(QPainter& p, const Ink& ink) {
    p.setPen(pen(ink("#4a4f57"), 2.6));
    p.drawLine(QPointF(8, 8), QPointF(20, 20));
    p.drawLine(QPointF(20, 8), QPointF(8, 20));
}

void drawProgram(QPainter& p, const Ink& ink) {
    QLinearGradient back(0, 1, 0, 27);
    back.setColorAt(0, ink("#3a5c91"));
    back.setColorAt(1, ink("#1f3558"));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(1, 1, 26, 26), 5, 5);
    // Three servers on a shelf, the top one lit.
    for (int k = 0; k < 3; ++k) {
        const QRectF unit(5.5, 5.5 + k * 6, 17, 4.6);
        p.setBrush(ink(k == 0 ? "#ffb347" : "#e8eef7"));
        p.drawRoundedRect(unit, 1.2, 1.2);
        p.setBrush(ink(k == 0 ? "#7a4300" : "#3a5c91"));
        p.drawEllipse(QPointF(unit.right() - 2.6, unit.center().y()), 1.1, 1.1);
        p.drawRect(QRectF(unit.left() + 2, unit.center().y() - 0.6, 7, 1.2));
    }
}

class PictureEngine final : public QIconEngine {
public:
    explicit PictureEngine(Picture picture) : picture_(picture) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        paintPicture(*painter, picture_, rect, mode != QIcon::Disabled);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(kToolbarPictureSize, kToolbarPictureSize), QSize(48, 48),
                QSize(256, 256)};
    }
    QIconEngine* clone() const override { return new PictureEngine(picture_); }

private:
    Picture picture_;
};

}  // namespace

void paintPicture(QPainter& painter, Picture picture, const QRectF& box, bool enabled) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(box.width(), box.height());
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / kToolbarPictureSize, side / kToolbarPictureSize);
    const Ink ink(enabled);
    switch (picture) {
        case Picture::Back:
            drawRoundArrow(painter, ink, false);
            break;
        case Picture::Forward:
            drawRoundArrow(painter, ink, true);
            break;
        case Picture::Save:
            drawSave(painter, ink);
            break;
        case Picture::Providers:
            drawProviders(painter, ink);
            break;
        case Picture::Search:
            drawSearch(painter, ink);
            break;
        case Picture::Update:
            drawUpdate(painter, ink);
            break;
        case Picture::Close:
            drawClose(painter, ink);
            break;
        case Picture::Program:
            drawProgram(painter, ink);
            break;
    }
    painter.restore();
}

QIcon pictureIcon(Picture picture) {
    return QIcon(new PictureEngine(picture));
}

}  // namespace zorbinta::qt
