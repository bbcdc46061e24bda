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

    // Adds _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER to the window's state. Must run after
    // create() and before the window is first shown: the platform keeps states it finds on the unmapped window.
    static void setSkipTaskbarAndPager(WId window);
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
