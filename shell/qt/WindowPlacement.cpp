// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/WindowPlacement.h"

#include <xcb/xcb.h>

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <memory>
#include <utility>

namespace zorbinta::qt {
namespace {

// The X11 atom _NET_FRAME_EXTENTS; none on any other platform.
xcb_atom_t frameExtentsAtom() {
    static const xcb_atom_t atom = [] {
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
        if (connection == nullptr) return xcb_atom_t{XCB_ATOM_NONE};
        constexpr const char* kName = "_NET_FRAME_EXTENTS";
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(kName)), kName);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }();
    return atom;
}

}  // namespace

bool compositorPlacesWindows() {
    return QGuiApplication::platformName().startsWith("wayland");
}

QMargins frameExtents(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QRect workAreaOf(const QWidget* window) {
    QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QSize dialogRoom(const QWidget* owner) {
    const QMargins frame = owner != nullptr ? frameExtents(*owner->window()) : QMargins();
    return workAreaOf(owner).marginsRemoved(frame).size();
}

void placeDialog(QWidget& dialog) {
    const QWidget* owner =
        dialog.parentWidget() != nullptr ? dialog.parentWidget()->window() : nullptr;
    // Before it shows: a new frame on a shown window would hide it.
    if (!dialog.isVisible() && dialog.windowFlags() != kDialogFrame)
        dialog.setWindowFlags(kDialogFrame);
    auto* placement = dialog.findChild<FramePlacement*>(QString(), Qt::FindDirectChildrenOnly);
    if (placement == nullptr) placement = new FramePlacement(dialog);
    // Until the window manager has framed the dialog, the owner's frame is
    // the best guess at its own.
    placement->centre(workAreaOf(owner != nullptr ? owner : &dialog),
                      owner != nullptr ? frameExtents(*owner) : QMargins());
}

FramePlacement::FramePlacement(QWidget& window) : QObject(&window), window_(&window) {
    window.installEventFilter(this);
    if (frameExtentsAtom() != XCB_ATOM_NONE) qGuiApp->installNativeEventFilter(this);
}

FramePlacement::~FramePlacement() {
    if (qGuiApp != nullptr) qGuiApp->removeNativeEventFilter(this);
}

void FramePlacement::fill(const QRect& frame) {
    mode_ = Mode::Fill;
    target_ = frame;
    apply();
}

void FramePlacement::centre(const QRect& area, const QMargins& guess) {
    mode_ = Mode::Centre;
    target_ = area;
    guess_ = guess;
    placeOnShow_ = true;
    apply();
}

void FramePlacement::apply() {
    if (!window_ || mode_ == Mode::None) return;
    const QMargins known = frameExtents(*window_);
    QRect client;
    if (mode_ == Mode::Fill) {
        client = target_.marginsRemoved(known);
    } else {
        const QMargins extents = known.isNull() ? guess_ : known;
        // A window that cannot shrink enough keeps its least size, and then
        // its caption stays on the screen.
        window_->resize(window_->size().boundedTo(target_.marginsRemoved(extents).size()));
        const QSize outer = window_->size().grownBy(extents);
        const QPoint frameAt(target_.x() + qMax(0, (target_.width() - outer.width()) / 2),
                             target_.y() + qMax(0, (target_.height() - outer.height()) / 2));
        client = QRect(frameAt + QPoint(extents.left(), extents.top()), window_->size());
    }
    window_->setGeometry(client);
    client_ = window_->geometry();
    extents_ = known;
}

void FramePlacement::placeAgainIfFramed() {
    // A window moved or resized since it was placed is left where it is.
    if (window_ && mode_ != Mode::None && window_->isVisible() &&
        window_->windowState() == Qt::WindowNoState && window_->geometry() == client_ &&
        frameExtents(*window_) != extents_) {
        apply();
    }
}

bool FramePlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && std::exchange(placeOnShow_, false)) {
        // After the show: a dialog may size itself as it shows.
        QMetaObject::invokeMethod(this, &FramePlacement::apply, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            QMetaObject::invokeMethod(this, &FramePlacement::placeAgainIfFramed,
                                      Qt::QueuedConnection);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool FramePlacement::nativeEventFilter(const QByteArray& eventType, void* message,
                                       qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t" || !window_ || !window_->isVisible()) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY) return false;
    const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
    if (change->atom != frameExtentsAtom() || change->window != window_->internalWinId())
        return false;
    // Queued: the toolkit reads the new extents only after this filter.
    QMetaObject::invokeMethod(this, &FramePlacement::placeAgainIfFramed, Qt::QueuedConnection);
    return false;
}

}  // namespace zorbinta::qt
