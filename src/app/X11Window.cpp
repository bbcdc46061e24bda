#include "X11Window.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FreeDeleter
{
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_screen_t *defaultScreen(xcb_connection_t *connection)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    return setup ? xcb_setup_roots_iterator(setup).data : nullptr;
}

bool shapeAvailable(xcb_connection_t *connection)
{
    const xcb_query_extension_reply_t *shape = xcb_get_extension_data(connection, &xcb_shape_id);
    return shape && shape->present;
}

void setShape(xcb_shape_kind_t kind, WId window, const QList<QRect> &rectangles)
{
    xcb_connection_t *connection = X11Window::connection();
    if (!connection || !shapeAvailable(connection))
        return;
    std::vector<xcb_rectangle_t> rects;
    rects.reserve(std::size_t(rectangles.size()));
    for (const QRect &r : rectangles) {
        if (r.isEmpty())
            continue;
        rects.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    }
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window), 0, 0,
                         uint32_t(rects.size()), rects.data());
}

} // namespace

xcb_connection_t *X11Window::connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

quint32 X11Window::rootWindow()
{
    xcb_connection_t *connection = X11Window::connection();
    xcb_screen_t *screen = connection ? defaultScreen(connection) : nullptr;
    return screen ? screen->root : 0;
}

void X11Window::setPanelHints(WId window)
{
    xcb_connection_t *connection = X11Window::connection();
    if (!connection)
        return;
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t added[] = {internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                internAtom(connection, "_NET_WM_STATE_SKIP_PAGER"),
                                internAtom(connection, "_NET_WM_STATE_STICKY")};
    std::vector<xcb_atom_t> atoms;
    for (const quint32 a : windowStates(quint32(window)))
        atoms.push_back(a);
    for (const xcb_atom_t a : added) {
        if (a != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), a) == atoms.end())
            atoms.push_back(a);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window), state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    const uint32_t everyDesktop = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window), internAtom(connection, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &everyDesktop);
    xcb_flush(connection);
}

void X11Window::requestOnAllDesktops(WId window)
{
    xcb_connection_t *connection = X11Window::connection();
    const quint32 root = rootWindow();
    if (!connection || !root)
        return;
    const auto send = [&](xcb_atom_t type, std::initializer_list<uint32_t> data) {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = xcb_window_t(window);
        event.type = type;
        int i = 0;
        for (const uint32_t value : data)
            event.data.data32[i++] = value;
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
    };
    send(internAtom(connection, "_NET_WM_DESKTOP"), {0xFFFFFFFF, 2});
    send(internAtom(connection, "_NET_WM_STATE"), {1 /* add */, internAtom(connection, "_NET_WM_STATE_STICKY"), 0, 2});
    xcb_flush(connection);
}

QList<quint32> X11Window::windowStates(quint32 window)
{
    xcb_connection_t *connection = X11Window::connection();
    QList<quint32> atoms;
    if (!connection || !window)
        return atoms;
    const Reply<xcb_get_property_reply_t> current(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, xcb_window_t(window), internAtom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 1024),
        nullptr));
    if (current && current->format == 32 && current->type == XCB_ATOM_ATOM) {
        const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(current.get()));
        const int count = xcb_get_property_value_length(current.get()) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i)
            atoms.append(values[i]);
    }
    return atoms;
}

std::optional<QRect> X11Window::rootGeometry(quint32 window)
{
    xcb_connection_t *connection = X11Window::connection();
    const quint32 root = rootWindow();
    if (!connection || !root || !window)
        return std::nullopt;
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

quint32 X11Window::atom(const char *name)
{
    xcb_connection_t *connection = X11Window::connection();
    return connection ? ::internAtom(connection, name) : quint32(XCB_ATOM_NONE);
}

void X11Window::setInputShape(WId window, const QList<QRect> &rectangles)
{
    setShape(XCB_SHAPE_SK_INPUT, window, rectangles);
}

void X11Window::setBoundingShape(WId window, const QList<QRect> &rectangles)
{
    setShape(XCB_SHAPE_SK_BOUNDING, window, rectangles);
}

bool X11Window::compositingManagerRunning()
{
    xcb_connection_t *connection = X11Window::connection();
    if (!connection)
        return false;
    // The default screen is the first; Qt opens the display's default screen.
    const xcb_atom_t selection = internAtom(connection, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE)
        return false;
    const Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

std::optional<quint32> X11Window::activeWindow()
{
    xcb_connection_t *connection = X11Window::connection();
    const quint32 root = rootWindow();
    if (!connection || !root)
        return std::nullopt;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, internAtom(connection, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    const xcb_window_t window = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;
    return window;
}

void X11Window::activateWindow(quint32 window)
{
    xcb_connection_t *connection = X11Window::connection();
    const quint32 root = rootWindow();
    if (!connection || !root || !window)
        return;
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = internAtom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 2; // source: a pager, which window managers let through
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = 0;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
}

void X11Window::flush()
{
    if (xcb_connection_t *connection = X11Window::connection())
        xcb_flush(connection);
}
