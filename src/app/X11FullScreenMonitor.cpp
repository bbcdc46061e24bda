#include "X11FullScreenMonitor.h"

#include "X11Window.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

// Adds `mask` to this connection's event selection on `window`, keeping what the platform selected.
void addEventMask(xcb_connection_t *connection, quint32 window, uint32_t mask)
{
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!attributes)
        return; // gone already
    const uint32_t values[] = {attributes->your_event_mask | mask};
    std::free(attributes);
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, values);
}

} // namespace

X11FullScreenMonitor::X11FullScreenMonitor(QObject *parent) : QObject(parent)
{
    xcb_connection_t *connection = X11Window::connection();
    m_root = X11Window::rootWindow();
    if (!connection || !m_root)
        return;
    m_activeAtom = X11Window::atom("_NET_ACTIVE_WINDOW");
    m_stateAtom = X11Window::atom("_NET_WM_STATE");
    m_fullScreenAtom = X11Window::atom("_NET_WM_STATE_FULLSCREEN");
    m_active = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    addEventMask(connection, m_root, XCB_EVENT_MASK_PROPERTY_CHANGE);
    follow(X11Window::activeWindow().value_or(0));
}

X11FullScreenMonitor::~X11FullScreenMonitor()
{
    if (m_active && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11FullScreenMonitor::follow(quint32 window)
{
    // The selection on the previous window stays: it costs a property event now and then, and the window may
    // well be one of this application's own.
    if (window && window != m_window) {
        if (xcb_connection_t *connection = X11Window::connection()) {
            addEventMask(connection, window, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
            xcb_flush(connection);
        }
    }
    m_window = window;
    evaluate();
}

void X11FullScreenMonitor::evaluate()
{
    std::optional<QRect> area;
    if (m_window && X11Window::windowStates(m_window).contains(m_fullScreenAtom))
        area = X11Window::rootGeometry(m_window);
    if (area == m_area)
        return;
    m_area = area;
    Q_EMIT changed();
}

bool X11FullScreenMonitor::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
        if (property->window == m_root && property->atom == m_activeAtom)
            follow(X11Window::activeWindow().value_or(0));
        else if (m_window && property->window == m_window && property->atom == m_stateAtom)
            evaluate();
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        if (m_window && static_cast<const xcb_configure_notify_event_t *>(message)->window == m_window)
            evaluate();
        break;
    case XCB_DESTROY_NOTIFY:
        if (m_window && static_cast<const xcb_destroy_notify_event_t *>(message)->window == m_window) {
            m_window = 0;
            evaluate();
        }
        break;
    default:
        break;
    }
    // The platform sees every event too.
    return false;
}
