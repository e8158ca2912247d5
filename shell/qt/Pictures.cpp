// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/Pictures.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace zorbinta::qt {
namespace {

QString fileOf(Picture picture) {
    switch (picture) {
        case Picture::Search:
            return ":/pictures/search.svg";
        case Picture::Save:
            return ":/pictures/save.svg";
        case Picture::Back:
            return ":/pictures/back.svg";
        case Picture::Providers:
            return ":/pictures/providers.svg";
        case Picture::Forward:
            return ":/pictures/forward.svg";
        case Picture::Update:
            return ":/pictures/update.svg";
        case Picture::Close:
            return ":/pictures/close.svg";
        case Picture::Program:
            return ":/zorbinta.svg";
    }
    return {};
}

// Each colour's grey, lighter than the colour, its opacity kept.
void greyOut(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = qUnpremultiply(line[x]);
            const int grey = 150 + qGray(pixel) * 95 / 255;
            line[x] = qPremultiply(qRgba(grey, grey, grey, qAlpha(pixel)));
        }
    }
}

class PictureEngine final : public QIconEngine {
public:
    explicit PictureEngine(Picture picture) : picture_(picture), svg_(fileOf(picture)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // size is in the device's own pixels, which the picture is drawn at: a
    // square as large as fits, centred.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        const qreal side = qMin(image.width(), image.height());
        const QRectF box((image.width() - side) / 2, (image.height() - side) / 2, side, side);
        {
            QPainter painter(&image);
            svg_.render(&painter, box);
        }
        if (mode == QIcon::Disabled) greyOut(image);
        image.setDevicePixelRatio(scale);
        return QPixmap::fromImage(std::move(image));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(kToolbarPictureSize, kToolbarPictureSize), QSize(48, 48),
                QSize(256, 256)};
    }
    bool isNull() override { return !svg_.isValid(); }
    QIconEngine* clone() const override { return new PictureEngine(picture_); }

private:
    Picture picture_;
    QSvgRenderer svg_;
};

}  // namespace

QIcon pictureIcon(Picture picture) {
    return QIcon(new PictureEngine(picture));
}

}  // namespace zorbinta::qt
