// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's windows go on screen.
//
// A rectangle asked for a window is its whole frame, caption and borders
// included. How thick that frame is, only the window manager knows, and it
// says so (_NET_FRAME_EXTENTS on X11) once it has framed the window, after
// the window was asked to show. So a placement made before then is made
// again as soon as the window manager announces the extents, or a change of
// the window's geometry shows them.

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace zorbinta::qt {

// True where the compositor alone places and sizes windows (Wayland): a
// client learns nothing there of its position or of the panels, so it asks
// to be maximized where on X11 it fits itself to the work area.
bool compositorPlacesWindows();

// The frame extents the window manager gave window; none before it framed
// it, or where there is no window manager.
QMargins frameExtents(const QWidget& window);

// The work area of the screen that window is on (the primary screen's when
// it is on none).
QRect workAreaOf(const QWidget* window);

// The most a dialog over owner may measure, frame excluded: the work area of
// owner's screen less a frame like owner's.
QSize dialogRoom(const QWidget* owner);

// Centres dialog, about to be shown over its parent, on the parent's screen,
// no larger than its work area, and again once the window manager has framed
// it or the dialog has sized itself as it shows. Its frame offers only a
// close button: a dialog is neither minimised nor maximised.
void placeDialog(QWidget& dialog);

// The frame of a dialog: caption and close button.
inline constexpr Qt::WindowFlags kDialogFrame = Qt::Dialog | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

class FramePlacement final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit FramePlacement(QWidget& window);
    ~FramePlacement() override;

    // The window's frame becomes exactly frame.
    void fill(const QRect& frame);
    // The window keeps its size, made no larger than area allows, and its
    // frame is centred on area, now and once more as it is shown. guess
    // stands in for the extents until the window manager has told them.
    void centre(const QRect& area, const QMargins& guess);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window manager's announcement of the extents (X11).
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    enum class Mode { None, Fill, Centre };
    void apply();
    void placeAgainIfFramed();

    QPointer<QWidget> window_;
    Mode mode_ = Mode::None;
    QRect target_;
    QMargins guess_;
    // What the last placement set, and with which extents: placed again only
    // while the window is where it was put and the extents have changed.
    QRect client_;
    QMargins extents_;
    bool placeOnShow_ = false;
};

}  // namespace zorbinta::qt
