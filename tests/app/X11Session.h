#pragma once

// A real X server with a window manager and a session bus for one test: Xvfb, openbox and a private
// dbus-daemon, started afresh for every test; skips when Xvfb, openbox or xdotool are missing.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

const QString notch = QStringLiteral(TANDREL_NOTCH_PATH);
constexpr int screenWidth = 1280;
constexpr int screenHeight = 800;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

class X11Session : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xvfb.isEmpty() || openbox.isEmpty() || xdotool.isEmpty())
            GTEST_SKIP() << "needs Xvfb, openbox and xdotool";
        ASSERT_TRUE(home.isValid());

        // A display number nobody uses.
        for (int number = 140 + int(getpid() % 50); number < 400; ++number) {
            if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) &&
                !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
                display = QStringLiteral(":%1").arg(number);
                break;
            }
        }
        server.start(xvfb, {display, QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("%1x%2x24").arg(serverSize.width()).arg(serverSize.height()),
                            QStringLiteral("-nolisten"),
                            QStringLiteral("tcp")});
        ASSERT_TRUE(server.waitForStarted(changeLimitMs));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                connection = xcb_connect(display.toLatin1().constData(), nullptr);
                if (!xcb_connection_has_error(connection))
                    return true;
                xcb_disconnect(connection);
                connection = nullptr;
                return false;
            },
            10000));
        screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        environment.insert(QStringLiteral("TANDREL_REDUCE_MOTION"), QStringLiteral("1"));
#if defined(__SANITIZE_ADDRESS__)
        // Under the sanitizer the panel draws with Qt Quick's software renderer, for two faults of Mesa's
        // GL driver, not ours. Its JIT deadlocks the slow unwinder: LLVM registers each shader's unwind
        // tables, libgcc allocates while it holds its table lock on the next unwind, and that allocation
        // unwinds again into the lock (the render thread stuck in _Unwind_Find_FDE below
        // RTDyldMemoryManager::registerEHFrames, the main thread waiting for it in an expose event). And
        // the driver (swrast_dri.so, libGLX_mesa.so) is unloaded before the leak check, which then finds
        // its still-held blocks unreachable, with stacks in an unknown module: the same run with dlclose
        // made a no-op reports nothing.
        environment.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
#endif
        // A session bus of its own: the application claims its name there, and tests running side by side
        // never meet.
        const QString busDaemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (!busDaemon.isEmpty()) {
            bus.start(busDaemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                                  QStringLiteral("--address=unix:path=%1/bus").arg(home.path())});
            ASSERT_TRUE(bus.waitForStarted(changeLimitMs));
            ASSERT_TRUE(QTest::qWaitFor([&] { return bus.canReadLine(); }, 10000));
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(bus.readLine()).trimmed());
        } else {
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                               QStringLiteral("unix:path=%1/no-bus").arg(home.path()));
        }
        if (!withWindowManager)
            return;
        windowManager.setProcessEnvironment(environment);
        windowManager.start(openbox, {});
        ASSERT_TRUE(windowManager.waitForStarted(changeLimitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return rootProperty("_NET_SUPPORTING_WM_CHECK"); }, 10000));
    }

    void TearDown() override
    {
        for (QProcess *process : {&app, &windowManager, &bus, &server}) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000))
                    process->kill();
                process->waitForFinished(3000);
            }
        }
        if (connection)
            xcb_disconnect(connection);
    }

    xcb_atom_t atom(const char *name)
    {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    bool rootProperty(const char *name)
    {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0, screen->root, atom(name), XCB_ATOM_ANY, 0, 1),
                                   nullptr),
            &std::free);
        return reply && xcb_get_property_value_length(reply.get()) > 0;
    }

    bool viewable(xcb_window_t window)
    {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
            &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    QString windowName(xcb_window_t window)
    {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0, window, atom("_NET_WM_NAME"), XCB_ATOM_ANY, 0, 64),
                                   nullptr),
            &std::free);
        if (!reply)
            return {};
        return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                                 xcb_get_property_value_length(reply.get()));
    }

    // The panel's own window, below the window manager's frame.
    std::optional<xcb_window_t> findPanel(xcb_window_t parent, int depth = 0)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
        if (!tree)
            return std::nullopt;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            // The application's client leader carries its name too, but is never mapped.
            if (windowName(children[i]) == QLatin1String("Tandrel Notch") && viewable(children[i]))
                return children[i];
            if (depth < 2) {
                if (const std::optional<xcb_window_t> found = findPanel(children[i], depth + 1))
                    return found;
            }
        }
        return std::nullopt;
    }

    // Waits for the panel of `process` to take `shape` as its input shape, finding the panel on the way. A
    // sanitizer build starts many times slower, so the limit is generous; the wait ends early when the process
    // has exited, because then the panel will never come.
    bool waitForPanel(std::optional<xcb_window_t> &panel, const QList<QRect> &shape, const QProcess &process,
                      int limitMs = panelStartLimitMs)
    {
        bool shown = false;
        (void)QTest::qWaitFor(
            [&] {
                if (!panel)
                    panel = findPanel(screen->root);
                shown = panel && inputShape(*panel) == shape;
                return shown || process.state() == QProcess::NotRunning;
            },
            limitMs);
        return shown;
    }
    static constexpr int panelStartLimitMs = 120000;
    // The limit for any other change the panel is expected to make (a new shape, a window that leaves): it ends
    // as soon as the change shows, so it is generous enough for the sanitizer build, which reacts many times slower.
    static constexpr int changeLimitMs = 60000;

    // The window's input shape, in its own coordinates.
    QList<QRect> inputShape(xcb_window_t window) { return shape(window, XCB_SHAPE_SK_INPUT); }
    // The window's bounding shape (what is drawn), in its own coordinates.
    QList<QRect> boundingShape(xcb_window_t window) { return shape(window, XCB_SHAPE_SK_BOUNDING); }
    QList<QRect> shape(xcb_window_t window, xcb_shape_kind_t kind)
    {
        Reply<xcb_shape_get_rectangles_reply_t> reply(
            xcb_shape_get_rectangles_reply(connection, xcb_shape_get_rectangles(connection, window, kind), nullptr),
            &std::free);
        QList<QRect> rects;
        if (!reply)
            return rects;
        const xcb_rectangle_t *r = xcb_shape_get_rectangles_rectangles(reply.get());
        for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i)
            rects.append(QRect(r[i].x, r[i].y, r[i].width, r[i].height));
        return rects;
    }

    // An ordinary window covering the screen, as another application's would.
    xcb_window_t mapObserver()
    {
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_BUTTON_PRESS};
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, screenWidth, screenHeight, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                          values);
        const char name[] = "observer";
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            sizeof name - 1, name);
        xcb_map_window(connection, window);
        xcb_flush(connection);
        return window;
    }

    // Maps `window` and waits until it is viewable (a window manager that is still starting may miss the
    // first request).
    bool mapAndWait(xcb_window_t window)
    {
        xcb_map_window(connection, window);
        xcb_flush(connection);
        QElapsedTimer sinceMap;
        sinceMap.start();
        return QTest::qWaitFor(
            [&] {
                Reply<xcb_get_window_attributes_reply_t> attributes(
                    xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr),
                    &std::free);
                if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                    return true;
                if (sinceMap.elapsed() > 300) {
                    xcb_map_window(connection, window);
                    xcb_flush(connection);
                    sinceMap.restart();
                }
                return false;
            },
            10000);
    }

    // The 32-bit values of a window property.
    QList<uint32_t> property32(xcb_window_t window, const char *name)
    {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, atom(name), XCB_ATOM_ANY, 0, 256),
                                   nullptr),
            &std::free);
        QList<uint32_t> values;
        if (!reply || reply->format != 32)
            return values;
        const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
        for (int i = 0; i < xcb_get_property_value_length(reply.get()) / 4; ++i)
            values.append(data[i]);
        return values;
    }

    // A request to the window manager about `window`, as a pager sends it.
    void sendToWindowManager(xcb_window_t window, const char *type, std::initializer_list<uint32_t> data)
    {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom(type);
        int i = 0;
        for (const uint32_t value : data)
            event.data.data32[i++] = value;
        xcb_send_event(connection, 0, screen->root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&event));
        xcb_flush(connection);
    }

    // Every window named "Tandrel Notch" below the root (the panel's, with the window manager's frames).
    int panelCount(xcb_window_t parent, int depth = 0)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
        if (!tree)
            return 0;
        int count = 0;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (windowName(children[i]) == QLatin1String("Tandrel Notch") && viewable(children[i]))
                ++count;
            else if (depth < 2)
                count += panelCount(children[i], depth + 1);
        }
        return count;
    }

    // Starts the application in the session.
    void startNotch(QProcess &process, const QStringList &arguments, const QString &program = notch)
    {
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted(changeLimitMs));
    }

    // Runs the application to its end; its exit status, or -1 when it did not end by itself.
    int runNotch(const QStringList &arguments, QString *errors = nullptr,
                 const QProcessEnvironment &processEnvironment = {})
    {
        QProcess process;
        process.setProcessEnvironment(processEnvironment.isEmpty() ? environment : processEnvironment);
        if (!errors)
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel); // shown with a failure
        process.start(notch, arguments);
        if (!process.waitForStarted(changeLimitMs))
            return -1;
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, panelStartLimitMs)) {
            process.kill();
            process.waitForFinished(3000);
            return -1;
        }
        if (errors)
            *errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    void key(const QString &keys)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(xdotool, {QStringLiteral("key"), keys});
        ASSERT_TRUE(process.waitForFinished(changeLimitMs));
    }

    void clickButton(int x, int y, int button)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(xdotool, {QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                                QStringLiteral("click"), QString::number(button)});
        ASSERT_TRUE(process.waitForFinished(changeLimitMs));
    }

    int pressesReceived(int waitMs)
    {
        int presses = 0;
        QTest::qWait(waitMs);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS)
                ++presses;
            std::free(event);
        }
        return presses;
    }

    void move(int x, int y)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(xdotool, {QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
        ASSERT_TRUE(process.waitForFinished(changeLimitMs));
    }

    void click(int x, int y)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(xdotool, {QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                                QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(process.waitForFinished(changeLimitMs));
    }

    // Set in a derived fixture's constructor to run the X server bare, with nothing to manage the windows.
    bool withWindowManager = true;
    // Set in a derived fixture's constructor for a screen of another size.
    QSize serverSize{screenWidth, screenHeight};
    QTemporaryDir home;
    QString display;
    QString xdotool;
    QProcessEnvironment environment;
    QProcess server;
    QProcess windowManager;
    QProcess bus;
    QProcess app;
    xcb_connection_t *connection = nullptr;
    xcb_screen_t *screen = nullptr;
};

} // namespace
