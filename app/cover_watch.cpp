#include "app/cover_watch.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>

CoverWatch::CoverWatch(QWindow* window, QObject* parent) : QObject(parent) {
    // Only Qt's X11 platform: others may answer for X (offscreen does) with no connection.
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    window_ = static_cast<std::uint32_t>(window->winId());
    // Added to the events Qt already asks for, never in their place.
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window_), nullptr);
    if (!attributes) return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    std::free(attributes);
    xcb_change_window_attributes(connection, window_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
    watching_ = true;
}

CoverWatch::~CoverWatch() {
    if (watching_) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CoverWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY) return false;
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    if (visibility->window != window_) return false;
    const bool wasCovered = covered_;
    covered_ = visibility->state == XCB_VISIBILITY_FULLY_OBSCURED;
    if (wasCovered != covered_) emit changed();
    return false;  // Qt may want it too
}
