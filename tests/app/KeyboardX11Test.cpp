// The open card used with the keyboard alone, on a real X server with a window manager: the keys go through
// the X server (xdotool's XTEST) to the panel, exactly as a user's would. Every focus change is checked as a
// screen reader hears it: the focus events the items send to the accessibility bridge, with their names.

#include "NotchPanel.h"
#include "ViewStates.h"
#include "VirtualScheduler.h"
#include "WebViewModule.h"

#include "inbox/Inbox.h"
#include "views/PanelMenu.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

QString xdotool;
// Every control that took the keyboard, by the name the accessibility interface gives it.
QStringList focusNames;

class KeyboardOnly : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (xdotool.isEmpty())
            GTEST_SKIP() << "needs Xvfb, openbox, xdotool, dbus-daemon and at-spi2-core";
        AppDelegate::Options options = ViewStates::options(ViewStates::Launch::live, clock);
        options.trayAvailable = [] { return false; };
        options.runAlert = [](const AppDelegate::QuitAlert &) { return 0; };
        options.terminate = [] {};
        app = std::make_unique<AppDelegate>(std::move(options));
        app->applicationDidFinishLaunching();
        settle();
        // Four more personal messages, so that the list has rows to walk.
        QList<Message> messages = app->inbox().messages();
        for (int i = 0; i < 4; ++i) {
            Message extra = messages.first();
            extra.id = QUuid::createUuid();
            extra.remoteID = QStringLiteral("extra-%1").arg(i);
            extra.serverMessageID = QStringLiteral("extra-message-%1").arg(i);
            extra.conversationID = QStringLiteral("extra-conversation-%1").arg(i);
            extra.sender = QStringLiteral("Sender %1").arg(i);
            extra.subject = QStringLiteral("Extra subject %1").arg(i);
            extra.sentAt = 10 - i;
            messages.append(extra);
        }
        app->inbox().setMessages(messages);
        app->inbox().close();
        settle();
        // The bridge speaks once it has found the accessibility bus; from then on every focus event the items
        // send is taken here, where a screen reader would receive it.
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000));
        previousHandler = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::Focus && event->accessibleInterface())
                focusNames.append(event->accessibleInterface()->text(QAccessible::Name));
        });
    }
    void TearDown() override
    {
        app.reset();
        QAccessible::installUpdateHandler(previousHandler);
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        clock.runDue();
        QCoreApplication::processEvents();
    }
    // Sends keys through the X server and waits until the panel has handled them.
    void keys(const QStringList &names)
    {
        for (const QString &name : names) {
            ASSERT_EQ(QProcess::execute(xdotool, {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), name}), 0);
            QTest::qWait(60);
            settle();
        }
    }
    void type(const QString &text)
    {
        ASSERT_EQ(QProcess::execute(xdotool, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text}), 0);
        QTest::qWait(80);
        settle();
    }
    QQuickItem *focused() const { return app->panel()->activeFocusItem(); }
    QString focusedName() const
    {
        QQuickItem *item = focused();
        QAccessibleInterface *node = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
        return node ? node->text(QAccessible::Name) : QString();
    }
    // Tabs forward (at most `limit` times) until the control with that accessible name has the keyboard.
    bool tabTo(const std::function<bool(const QString &)> &matches, int limit = 30)
    {
        for (int i = 0; i < limit; ++i) {
            if (matches(focusedName()))
                return true;
            keys({QStringLiteral("Tab")});
        }
        return matches(focusedName());
    }

    VirtualScheduler clock;
    std::unique_ptr<AppDelegate> app;
    QAccessible::UpdateHandler previousHandler = nullptr;
};

TEST_F(KeyboardOnly, ToggleTabArrowsReturnReplyBackLabelSearchAndEscape)
{
    Inbox &inbox = app->inbox();
    // --toggle in the running instance: the panel opens and takes the keyboard.
    app->togglePanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == app->panel(); }, 10000));
    settle();
    ASSERT_TRUE(inbox.expanded());
    ASSERT_NE(focused(), nullptr);

    // Shift+Tab walks back through the header's controls, each announced by name; Tab comes back to the first row.
    const QString first = inbox.visible().first().sender + QStringLiteral(", ");
    focusNames.clear();
    for (int i = 0; i < 12 && focusedName() != QLatin1String("Collapse inbox"); ++i)
        keys({QStringLiteral("shift+Tab")});
    ASSERT_EQ(focusedName(), QStringLiteral("Collapse inbox")) << qPrintable(focusNames.join(u'|'));
    for (const QString &control : {QStringLiteral("Filter messages"), QStringLiteral("Message labels: All labels")})
        EXPECT_TRUE(focusNames.contains(control)) << qPrintable(focusNames.join(u'|'));
    EXPECT_LT(focusNames.indexOf(QStringLiteral("Filter messages")), focusNames.indexOf(QStringLiteral("Collapse inbox")));
    focusNames.clear();
    keys({QStringLiteral("Tab")});
    ASSERT_TRUE(tabTo([&](const QString &name) { return name.startsWith(first); }))
        << qPrintable(focusNames.join(u'|') + QStringLiteral(" / now: ") + focusedName());
    EXPECT_TRUE(focusNames.contains(QStringLiteral("Filter messages"))) << qPrintable(focusNames.join(u'|'));
    ASSERT_FALSE(focusNames.isEmpty());
    EXPECT_EQ(focusNames.last(), focusedName());

    // Down twice: the third row, in view and announced.
    keys({QStringLiteral("Down"), QStringLiteral("Down")});
    const Message third = inbox.visible().at(2);
    EXPECT_TRUE(focusedName().startsWith(third.sender + QStringLiteral(", "))) << qPrintable(focusedName());
    ASSERT_FALSE(focusNames.isEmpty());
    EXPECT_EQ(focusNames.last(), focusedName());
    EXPECT_EQ(focused()->objectName(), QStringLiteral("rowButton"));

    // Return opens it, and the reader's controls take over the keyboard.
    keys({QStringLiteral("Return")});
    ASSERT_TRUE(inbox.selectedID().has_value());
    EXPECT_EQ(*inbox.selectedID(), third.id);

    // Tab reaches the reply field; typing and Ctrl+Return send the reply.
    ASSERT_TRUE(tabTo([this](const QString &) { return focused() && focused()->objectName() == QLatin1String("replyField"); }));
    EXPECT_EQ(focusNames.last(), QStringLiteral("Reply"));
    type(QStringLiteral("On it"));
    keys({QStringLiteral("ctrl+Return")});
    ASSERT_EQ(inbox.pendingReplies().size(), 1);
    EXPECT_EQ(inbox.pendingReplies().first().body, QStringLiteral("On it"));

    // Alt+Left goes back to the list, to the row that was open.
    keys({QStringLiteral("alt+Left")});
    EXPECT_FALSE(inbox.hasSelection());
    EXPECT_TRUE(focusedName().startsWith(third.sender + QStringLiteral(", "))) << qPrintable(focusedName());

    // Shift+Tab back to the label menu; the Menu key opens it and the arrows pick the first label.
    ASSERT_EQ(inbox.label(), Inbox::allLabels);
    for (int i = 0; i < 10 && focusedName() != QLatin1String("Message labels: All labels"); ++i)
        keys({QStringLiteral("shift+Tab")});
    ASSERT_EQ(focusedName(), QStringLiteral("Message labels: All labels"));
    keys({QStringLiteral("Menu")});
    ASSERT_TRUE(QTest::qWaitFor([] { return !PanelMenu::activity().openMenus().isEmpty(); }, 3000));
    keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    ASSERT_TRUE(QTest::qWaitFor([] { return PanelMenu::activity().openMenus().isEmpty(); }, 3000));
    settle();
    EXPECT_NE(inbox.label(), Inbox::allLabels);
    EXPECT_TRUE(inbox.labels().contains(inbox.label()));

    // Ctrl+F opens the search with the keyboard in the field.
    keys({QStringLiteral("ctrl+f")});
    EXPECT_TRUE(app->panel()->rootView()->property("searchVisible").toBool());
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->objectName(), QStringLiteral("searchField"));
    type(QStringLiteral("numbers"));
    EXPECT_EQ(inbox.query(), QStringLiteral("numbers"));

    // Escape collapses.
    keys({QStringLiteral("Escape")});
    EXPECT_FALSE(inbox.expanded());
}

// Starts a program in the background, with the environment as it stands.
pid_t start(const QString &program, const QStringList &arguments)
{
    QList<QByteArray> storage{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        storage.append(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : storage)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// Starts a session bus in the foreground of its own process and reads the address it prints.
pid_t startBus(const QString &daemon, QByteArray &address)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    QByteArray program = QFile::encodeName(daemon);
    QByteArray session("--session"), noFork("--nofork"), print("--print-address=1");
    char *argv[] = {program.data(), session.data(), noFork.data(), print.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    char buffer[512];
    ssize_t length = 0;
    while (pid > 0 && length < ssize_t(sizeof buffer) && (length == 0 || buffer[length - 1] != '\n')) {
        const ssize_t read = ::read(pipeEnds[0], buffer + length, sizeof buffer - size_t(length));
        if (read <= 0)
            break;
        length += read;
    }
    close(pipeEnds[0]);
    address = QByteArray(buffer, int(length)).trimmed();
    return pid;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace

// A private X server with openbox for the whole run, started before the application object connects to it.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const bool listing = GTEST_FLAG_GET(list_tests);
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    pid_t server = 0;
    pid_t windowManager = 0;
    pid_t sessionBus = 0;
    pid_t accessibilityBus = 0;
    const QTemporaryDir runtime;
    const QString busDaemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
    if (!listing && !xvfb.isEmpty() && !openbox.isEmpty() && !xdotool.isEmpty() && !busDaemon.isEmpty() &&
        QFile::exists(launcher)) {
        QString display;
        for (int number = 420 + int(getpid() % 50); number < 600; ++number) {
            if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) &&
                !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
                display = QStringLiteral(":%1").arg(number);
                break;
            }
        }
        server = start(xvfb, {display, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x800x24"),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + display.mid(1);
        for (int i = 0; i < 200 && !QFile::exists(socket); ++i)
            usleep(50000);
        qputenv("DISPLAY", display.toLatin1());
        qunsetenv("WAYLAND_DISPLAY");
#if defined(__SANITIZE_ADDRESS__)
        qputenv("QT_QUICK_BACKEND", "software"); // see X11Session.h: Mesa's driver under the sanitizer
#endif
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("HOME", QFile::encodeName(runtime.path()));
        windowManager = start(openbox, {});
        // A session bus of the run's own, with the accessibility bus a desktop starts for its screen reader;
        // the bridge is told to speak though no screen reader is listening.
        QByteArray address;
        sessionBus = startBus(busDaemon, address);
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        accessibilityBus = start(launcher, {});
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        usleep(500000);
    } else {
        xdotool.clear();
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("TANDREL_REDUCE_MOTION", "1");
    int result = 0;
    {
        WebViewModule::prepareApplication(); // before the application object
        QApplication app(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        result = RUN_ALL_TESTS();
    }
    stop(accessibilityBus);
    stop(sessionBus);
    stop(windowManager);
    stop(server);
    return result;
}
