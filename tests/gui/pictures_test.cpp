// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures: each one draws something at every size and pixel
// ratio the toolbar and the window manager ask for (a renderer that could
// not read the SVG files would leave blank buttons), and disabled it is the
// same shape in greys.

#include <QImage>
#include <QPixmap>

#include "GuiHarness.h"
#include "shell/qt/Pictures.h"

using zorbinta::qt::Picture;

namespace {

// Pixels that are not fully transparent.
int inked(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return n;
}

bool allGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) > 0 && (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))) return false;
        }
    }
    return true;
}

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureDrawsAtEverySize() {
        const Picture all[] = {Picture::Search,    Picture::Save,    Picture::Back,
                               Picture::Providers, Picture::Forward, Picture::Update,
                               Picture::Close,     Picture::Program};
        for (const Picture picture : all) {
            const QIcon icon = zorbinta::qt::pictureIcon(picture);
            const QString name = QString("picture %1").arg(static_cast<int>(picture));
            QVERIFY2(!icon.isNull(), qPrintable(name));
            for (const int side : {12, 16, 28, 48}) {
                for (const qreal ratio : {1.0, 1.5, 2.0}) {
                    const QString what = name + QString(" at %1 x %2").arg(side).arg(ratio);
                    const QImage normal =
                        icon.pixmap(QSize(side, side), ratio, QIcon::Normal).toImage();
                    const QImage disabled =
                        icon.pixmap(QSize(side, side), ratio, QIcon::Disabled).toImage();
                    // Drawn at the screen's own pixels, not scaled up afterwards.
                    const int pixels = qRound(side * ratio);
                    QCOMPARE(normal.size(), QSize(pixels, pixels));
                    // Every picture covers a good part of its square.
                    QVERIFY2(inked(normal) >= pixels * pixels / 8, qPrintable(what));
                    QCOMPARE(inked(disabled), inked(normal));
                    QVERIFY2(allGrey(disabled), qPrintable(what));
                    QVERIFY2(!allGrey(normal) || picture == Picture::Close, qPrintable(what));
                }
            }
        }
    }
};

ZORBINTA_GUI_TEST_MAIN(PicturesTest)
#include "pictures_test.moc"
