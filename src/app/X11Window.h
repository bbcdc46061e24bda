#pragma once

#include <QList>
#include <QRect>
#include <QWindow>

#include <optional>

struct xcb_connection_t;

// Window-manager and shape requests for the panel on X11, sent over the application's own X connection.
// Every function does nothing (or answers "absent") when the application does not run on X11.
class X11Window
{
public:
    // The application's X connection, or null when the platform is not xcb.
    static xcb_connection_t *connection();
    static bool available() { return connection() != nullptr; }
    static quint32 rootWindow();

    // Prepares the panel for its first mapping: adds _NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER and
    // _NET_WM_STATE_STICKY to the window's state and puts it on every desktop (_NET_WM_DESKTOP 0xFFFFFFFF).
    // Must run after create() and before the window is first shown: the platform keeps states it finds on
    // the unmapped window.
    static void setPanelHints(WId window);
    // The same request for a mapped window, sent to the window manager (which owns the properties then).
    static void requestOnAllDesktops(WId window);
    // The atoms of the window's _NET_WM_STATE, and its position and size in root coordinates.
    static QList<quint32> windowStates(quint32 window);
    static std::optional<QRect> rootGeometry(quint32 window);
    // An atom by name (XCB_ATOM_NONE when the server cannot make it).
    static quint32 atom(const char *name);
    // The part of the window that receives pointer events (rectangles in device pixels); everywhere else
    // events pass through to the windows below.
    static void setInputShape(WId window, const QList<QRect> &rectangles);
    // The part of the window that is drawn at all (device pixels).
    static void setBoundingShape(WId window, const QList<QRect> &rectangles);
    // Whether a compositing manager runs on the default screen (transparent pixels blend with what is below).
    static bool compositingManagerRunning();
    // The window the window manager reports as active (_NET_ACTIVE_WINDOW), if any.
    static std::optional<quint32> activeWindow();
    // Asks the window manager to activate the window, as a pager would.
    static void activateWindow(quint32 window);
    // Flushes queued requests.
    static void flush();
};
