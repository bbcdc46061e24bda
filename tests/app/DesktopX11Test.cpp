// The panel as a desktop citizen, on a real X server with openbox and a private session bus: every
// workspace, full-screen windows, one instance with its --open and --toggle commands, no tray, and an
// orderly end by signal in the middle of a reply.

#include "SnapshotJson.h"
#include "X11Session.h"

#include <QDirIterator>
#include <QUrl>

#include <csignal>

namespace {

// The panel's input shape (window coordinates) with the 720-point panel centred on the 1280-point screen.
const QList<QRect> openCard{QRect(360 - 220 - 6, 0, 440 + 12, 402 + 6)};
// The collapsed tab: beside the (fallback) notch, with its 3-point margin.
const QList<QRect> tab{QRect(360 - 90 - 3, 0, 180 + 6, 24 + 3)};

class DesktopX11Test : public X11Session
{
protected:
    // Waits for the panel to show `shape`; finds the panel on the way.
    bool panelShows(const QList<QRect> &shape, int timeoutMs = panelStartLimitMs)
    {
        return waitForPanel(panel, shape, app, timeoutMs);
    }

    xcb_window_t smallWindow()
    {
        const xcb_window_t window = xcb_generate_id(connection);
        const uint32_t values[] = {screen->black_pixel};
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 100, 500, 200, 150, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
        xcb_flush(connection);
        return window;
    }

    // The area of a viewable window named `name` directly below the root.
    std::optional<QRect> topLevelNamed(const QString &name)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr), &std::free);
        if (!tree)
            return std::nullopt;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (windowName(children[i]) != name || !viewable(children[i]))
                continue;
            Reply<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(connection, xcb_get_geometry(connection, children[i]), nullptr), &std::free);
            if (geometry)
                return QRect(geometry->x, geometry->y, geometry->width, geometry->height);
        }
        return std::nullopt;
    }

    void activate(xcb_window_t window) { sendToWindowManager(window, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0}); }

    std::optional<xcb_window_t> panel;
};

// Without a window manager the hints stay as the application set them (openbox keeps the window on every
// desktop but does not list the sticky state).
class BareDesktopX11Test : public DesktopX11Test
{
protected:
    BareDesktopX11Test() { withWindowManager = false; }
};

TEST_F(BareDesktopX11Test, ThePanelAsksToBeStickyOnEveryDesktop)
{
    startNotch(app, {QStringLiteral("--demo")});
    ASSERT_TRUE(panelShows(openCard));
    EXPECT_TRUE(property32(*panel, "_NET_WM_STATE").contains(atom("_NET_WM_STATE_STICKY")));
    EXPECT_TRUE(property32(*panel, "_NET_WM_STATE").contains(atom("_NET_WM_STATE_SKIP_TASKBAR")));
    EXPECT_EQ(property32(*panel, "_NET_WM_DESKTOP"), QList<uint32_t>{0xFFFFFFFF});
}

TEST_F(DesktopX11Test, ThePanelStaysOnScreenAcrossAWorkspaceSwitch)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return property32(screen->root, "_NET_NUMBER_OF_DESKTOPS").value(0) > 1; }, changeLimitMs));
    const xcb_window_t ordinary = mapObserver();
    ASSERT_TRUE(mapAndWait(ordinary));
    startNotch(app, {QStringLiteral("--demo")});
    ASSERT_TRUE(panelShows(openCard));
    EXPECT_EQ(property32(*panel, "_NET_WM_DESKTOP"), QList<uint32_t>{0xFFFFFFFF});
    // Above normal windows.
    EXPECT_TRUE(property32(*panel, "_NET_WM_STATE").contains(atom("_NET_WM_STATE_ABOVE")));

    sendToWindowManager(screen->root, "_NET_CURRENT_DESKTOP", {1, XCB_CURRENT_TIME});
    ASSERT_TRUE(QTest::qWaitFor([&] { return property32(screen->root, "_NET_CURRENT_DESKTOP") == QList<uint32_t>{1}; },
                                changeLimitMs));
    // The ordinary window went with its workspace; the panel did not.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !viewable(ordinary); }, changeLimitMs));
    EXPECT_TRUE(viewable(*panel));
    EXPECT_EQ(inputShape(*panel), openCard);
}

TEST_F(DesktopX11Test, AFullScreenWindowHidesTheCollapsedSurfaceUntilItLeaves)
{
    move(640, 600);
    startNotch(app, {}); // live without a configuration: nothing unread, and no tray here, so the tab stays
    ASSERT_TRUE(panelShows(tab));
    EXPECT_FALSE(boundingShape(*panel).isEmpty());

    const xcb_window_t video = mapObserver();
    ASSERT_TRUE(mapAndWait(video));
    sendToWindowManager(video, "_NET_WM_STATE", {1, atom("_NET_WM_STATE_FULLSCREEN"), 0, 2});
    activate(video);
    // Not drawn (no compositing manager here: the bounding shape is all there is) and no input.
    ASSERT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel).isEmpty() && boundingShape(*panel).isEmpty(); }, changeLimitMs));
    move(640, 5); // where the tab was: nothing opens
    QTest::qWait(400);
    EXPECT_TRUE(inputShape(*panel).isEmpty());
    move(640, 600);

    // The full-screen window loses the focus: the tab is back.
    const xcb_window_t other = smallWindow();
    ASSERT_TRUE(mapAndWait(other));
    activate(other);
    EXPECT_TRUE(panelShows(tab, changeLimitMs));
    activate(video);
    EXPECT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel).isEmpty(); }, changeLimitMs));

    // Asked to open, the card comes over the full-screen window; collapsed again, it keeps out of the way.
    EXPECT_EQ(runNotch({QStringLiteral("--open")}), 0);
    EXPECT_TRUE(panelShows(openCard, changeLimitMs));
    EXPECT_FALSE(boundingShape(*panel).isEmpty());
    EXPECT_EQ(runNotch({QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel).isEmpty(); }, changeLimitMs));

    // The full-screen window leaves.
    xcb_destroy_window(connection, video);
    xcb_flush(connection);
    EXPECT_TRUE(panelShows(tab, changeLimitMs));
}

TEST_F(DesktopX11Test, ASecondStartHandsOverToTheRunningPanel)
{
    startNotch(app, {QStringLiteral("--demo")});
    ASSERT_TRUE(panelShows(openCard));
    ASSERT_EQ(runNotch({QStringLiteral("--toggle")}), 0);
    ASSERT_TRUE(panelShows(tab, changeLimitMs)); // the demo has unread messages: the tab beside the notch

    // Same mode: the running one opens its panel, the new one ends at once.
    EXPECT_EQ(runNotch({QStringLiteral("--demo")}), 0);
    EXPECT_TRUE(panelShows(openCard, changeLimitMs));
    // The other mode: one line naming the running mode.
    QString errors;
    EXPECT_EQ(runNotch({}, &errors), 1);
    EXPECT_TRUE(errors.contains(QLatin1String("running in demo mode"))) << qPrintable(errors);
    EXPECT_EQ(errors.trimmed().count(u'\n'), 0) << qPrintable(errors);

    EXPECT_EQ(panelCount(screen->root), 1);
    EXPECT_EQ(app.state(), QProcess::Running);
}

TEST_F(DesktopX11Test, ToggleStartsOpenThenClosesAndOpensTheRunningPanel)
{
    move(640, 600);
    startNotch(app, {QStringLiteral("--toggle")}); // none runs: it starts, open
    ASSERT_TRUE(panelShows(openCard));
    EXPECT_EQ(runNotch({QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(panelShows(tab, changeLimitMs));
    EXPECT_EQ(runNotch({QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(panelShows(openCard, changeLimitMs));
    // Pinned: the pointer away does not collapse it, and --open leaves it open.
    EXPECT_EQ(runNotch({QStringLiteral("--open")}), 0);
    QTest::qWait(500);
    EXPECT_EQ(inputShape(*panel), openCard);
    EXPECT_EQ(panelCount(screen->root), 1);
}

TEST_F(DesktopX11Test, WithoutASessionBusTheCommandsFailAndTheApplicationRunsAlone)
{
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=%1/no-bus").arg(home.path()));
    QString errors;
    EXPECT_EQ(runNotch({QStringLiteral("--open")}, &errors), 1);
    EXPECT_TRUE(errors.contains(QLatin1String("session bus"))) << qPrintable(errors);
    EXPECT_EQ(errors.trimmed().count(u'\n'), 0) << qPrintable(errors);
    EXPECT_EQ(runNotch({QStringLiteral("--toggle")}), 1);

    startNotch(app, {QStringLiteral("--demo")});
    EXPECT_TRUE(panelShows(openCard));
}

TEST_F(DesktopX11Test, WithoutATrayTheTabStaysAndItsMenuQuits)
{
    move(640, 600);
    startNotch(app, {});
    ASSERT_TRUE(panelShows(tab)); // nothing unread, and still a tab

    move(640, 10); // hovering opens it
    ASSERT_TRUE(panelShows(openCard, changeLimitMs));
    clickButton(640, 12, 3); // a right click on the bar: the application menu
    // The menu is a popup of its own beside the panel (which hangs inside the window manager's frame).
    std::optional<QRect> menu;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (menu = topLevelNamed(QStringLiteral("Tandrel Notch"))).has_value(); },
                                changeLimitMs));
    // Its last item is "Quit Tandrel Notch"; nothing is unsent, so the application ends.
    click(menu->center().x(), menu->bottom() - 12);
    EXPECT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0) << qPrintable(QString::fromUtf8(app.readAllStandardError()));
}


bool processGone(qint64 pid)
{
    // A dead tool whose parent has ended may linger as a zombie until it is reaped.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype paren = text.lastIndexOf(')');
    return paren < 0 || text.mid(paren + 2, 1) == "Z";
}

bool replyDirectoryLeft(const QString &directory)
{
    return !QDir(directory).entryList({QStringLiteral("tandrel-reply-*")}, QDir::AllEntries | QDir::Hidden).isEmpty();
}

TEST_F(DesktopX11Test, SigtermWhileAReplyIsSendingEndsInOrder)
{
    const QString temporary = home.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    const QString ready = home.filePath(QStringLiteral("reply-tool.pid"));
    // The scripted tool answers the snapshot with one message and keeps the reply sending for a minute.
    SnapshotJson snapshot;
    snapshot.account(QStringLiteral("me"))
        .scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}})
        .message({.id = QStringLiteral("m1"), .subject = QStringLiteral("Quarterly plan"), .unread = true});
    const QString script = QStringLiteral("only:snapshot;out:") + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(snapshot.bytes()))) +
                           QStringLiteral(";only:subscriptions;out:") +
                           QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral(R"({"subscriptions":[]})"))) +
                           QStringLiteral(";only:reply;ready;sleep:60000");
    const QString configuration = home.filePath(QStringLiteral(".config/tandrel/notch.json"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(configuration).path()));
    QFile file(configuration);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"node": %1, "cli": %2, "origin": "https://tandrel.example", "config": "%3", "provider": "google"})")
                   .arg(SnapshotJson::quoted(QStringLiteral(SCRIPTED_TOOL_PATH)), SnapshotJson::quoted(script), home.path())
                   .toUtf8());
    file.close();
    environment.insert(QStringLiteral("TMPDIR"), temporary);
    environment.insert(QStringLiteral("SCRIPTED_TOOL_READY"), ready);

    startNotch(app, {}, QStringLiteral(SENDING_REPLY_APP_PATH));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(ready) && QFileInfo(ready).size() > 0; }, 20000))
        << qPrintable(QString::fromUtf8(app.readAllStandardError()));
    QFile pidFile(ready);
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const qint64 toolPid = pidFile.readAll().trimmed().toLongLong();
    ASSERT_GT(toolPid, 0);
    ASSERT_FALSE(processGone(toolPid));
    ASSERT_TRUE(replyDirectoryLeft(temporary)); // the body waits in its private directory

    ::kill(pid_t(app.processId()), SIGTERM);
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0) << qPrintable(QString::fromUtf8(app.readAllStandardError()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return processGone(toolPid); }, changeLimitMs));
    EXPECT_FALSE(replyDirectoryLeft(temporary));
}

} // namespace
