#include "X11PointerMonitor.h"

#include "X11Window.h"

#include <QCoreApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

X11PointerMonitor::X11PointerMonitor(QObject *parent)
    : QObject(parent)
{
    xcb_connection_t *connection = X11Window::connection();
    if (!connection)
        return;
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_input_id);
    if (!extension || !extension->present)
        return;
    // The platform has announced its XInput version on this connection already; raw events need 2.0.
    xcb_input_xi_query_version_reply_t *version = xcb_input_xi_query_version_reply(
        connection, xcb_input_xi_query_version(connection, 2, 2), nullptr);
    const bool usable = version && version->major_version >= 2;
    std::free(version);
    if (!usable)
        return;
    m_opcode = extension->major_opcode;
    m_root = X11Window::rootWindow();
    if (!m_root)
        return;
    m_active = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    select();
}

X11PointerMonitor::~X11PointerMonitor()
{
    if (!m_active)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t *connection = X11Window::connection()) {
        struct
        {
            xcb_input_event_mask_t header;
            uint32_t mask;
        } masks = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, 0};
        xcb_input_xi_select_events(connection, m_root, 1, &masks.header);
        xcb_flush(connection);
    }
}

void X11PointerMonitor::setMotionEnabled(bool enabled)
{
    if (m_motion == enabled)
        return;
    m_motion = enabled;
    if (m_active)
        select();
}

void X11PointerMonitor::select()
{
    xcb_connection_t *connection = X11Window::connection();
    if (!connection)
        return;
    // Master devices only: every physical pointer reports through its master, and the platform's own
    // root-window selection (for all devices) stays untouched.
    struct
    {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } masks = {{XCB_INPUT_DEVICE_ALL_MASTER, 1},
               uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) |
                   (m_motion ? uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) : 0u)};
    xcb_input_xi_select_events(connection, m_root, 1, &masks.header);
    xcb_flush(connection);
}

bool X11PointerMonitor::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return false;
    const auto *generic = static_cast<const xcb_ge_generic_event_t *>(message);
    if (generic->extension != m_opcode)
        return false;
    switch (generic->event_type) {
    case XCB_INPUT_RAW_MOTION:
        if (m_motion)
            Q_EMIT pointerMoved();
        return true;
    case XCB_INPUT_RAW_BUTTON_PRESS:
        Q_EMIT buttonPressed(int(static_cast<const xcb_input_raw_button_press_event_t *>(message)->detail));
        return true;
    default:
        return false;
    }
}
