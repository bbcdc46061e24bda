// Desktop notifications against a notification service of the test's own, on a private session bus (a real
// dbus-daemon the test starts): the Notify call's arguments, the default action opening the panel on the
// message, and a bus without a service.

#include "AppTestSupport.h"
#include "DesktopNotifier.h"

#include "AppIdentity.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

// A dbus-daemon of the test's own.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_process.setProgram(daemon);
        m_process.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                                QStringLiteral("--print-address=1")});
        m_process.start();
        if (!m_process.waitForStarted(30000))
            return;
        if (!QTest::qWaitFor([this] { return m_process.canReadLine(); }, 30000))
            return;
        m_address = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString &name : std::as_const(m_connections))
            QDBusConnection::disconnectFromBus(name);
        m_process.kill();
        m_process.waitForFinished(30000);
    }
    const QString &address() const { return m_address; }
    QDBusConnection connect(const QString &role)
    {
        const QString name = QStringLiteral("tandrel-test-%1-%2").arg(role).arg(++s_count);
        m_connections << name;
        return QDBusConnection::connectToBus(m_address, name);
    }

private:
    static inline int s_count = 0;
    QProcess m_process;
    QString m_address;
    QStringList m_connections;
};

struct NotifyCall
{
    QString appName;
    uint replacesId = 0;
    QString icon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout = 0;
};

// The freedesktop notification service, as far as the application uses it.
class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationServer(QStringList capabilities) : m_capabilities(std::move(capabilities)) {}

    std::vector<NotifyCall> calls;

public Q_SLOTS:
    QStringList GetCapabilities() { return m_capabilities; }
    uint Notify(const QString &appName, uint replacesId, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        calls.push_back({appName, replacesId, icon, summary, body, actions, hints, timeout});
        return uint(calls.size()) + 40;
    }
    void CloseNotification(uint id) { Q_EMIT NotificationClosed(id, 3); }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    QStringList m_capabilities;
};

bool serve(QDBusConnection &bus, NotificationServer &server)
{
    return bus.registerObject(DesktopNotifier::path, &server, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
           bus.registerService(DesktopNotifier::service);
}

// One round trip to the bus daemon: every reply sent before it has been delivered and handled.
void roundTrip(QDBusConnection &bus)
{
    bus.interface()->serviceOwner(QStringLiteral("org.freedesktop.DBus"));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

class Notifications : public AppFixture
{
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "needs dbus-daemon (scripts/install-deps installs it)";
        serverBus = bus.connect(QStringLiteral("server"));
        clientBus = bus.connect(QStringLiteral("client"));
        ASSERT_TRUE(serverBus.isConnected() && clientBus.isConnected());
    }
    void launchNotifying(const QStringList &switches)
    {
        AppDelegate::Options options;
        options.arguments = QStringList{QStringLiteral("tandrel-notch")} + switches;
        options.scheduler = &clock;
        options.statusItem = false;
        options.systemMonitors = false;
        options.pointerLocation = [this] { return pointer; };
        options.notificationBus = clientBus;
        app = std::make_unique<AppDelegate>(std::move(options));
        app->applicationDidFinishLaunching();
        clock.runDue();
    }
    void collapse()
    {
        inbox().setPinned(false);
        inbox().close();
        ASSERT_FALSE(inbox().expanded());
    }
    // Simulates one arrival and returns it.
    Message arrive()
    {
        app->simulate();
        EXPECT_TRUE(inbox().latestArrivalID());
        return inbox().messages().first();
    }
    void invoke(uint id, const QString &action)
    {
        QDBusMessage signal = QDBusMessage::createSignal(DesktopNotifier::path, DesktopNotifier::interface,
                                                         QStringLiteral("ActionInvoked"));
        signal << id << action;
        ASSERT_TRUE(serverBus.send(signal));
    }

    PrivateBus bus;
    QDBusConnection serverBus{QString()};
    QDBusConnection clientBus{QString()};
};

TEST_F(Notifications, ACollapsedArrivalIsAnnouncedOnceAndItsDefaultActionOpensThePanelOnTheMessage)
{
    NotificationServer server({QStringLiteral("actions"), QStringLiteral("body")});
    ASSERT_TRUE(serve(serverBus, server));
    launchNotifying({QStringLiteral("--demo"), QStringLiteral("--notify")});
    ASSERT_TRUE(app->notifier());

    // While the panel is open the arrival shows there, not on the desktop.
    ASSERT_TRUE(inbox().expanded());
    const Message seenInPanel = arrive();
    collapse();
    const Message arrived = arrive();
    ASSERT_NE(arrived.id, seenInPanel.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.calls.empty(); }, 30000));
    roundTrip(clientBus);
    ASSERT_EQ(server.calls.size(), 1u);
    const NotifyCall &call = server.calls.front();
    EXPECT_EQ(call.appName, QStringLiteral("Tandrel Notch"));
    EXPECT_EQ(call.replacesId, 0u);
    EXPECT_EQ(call.icon, QLatin1String(kTandrelAppId));
    EXPECT_EQ(call.summary, arrived.sender);
    EXPECT_EQ(call.body, arrived.subject);
    EXPECT_TRUE(call.actions.contains(QStringLiteral("default")));
    EXPECT_EQ(call.actions.size() % 2, 0); // identifier and label pairs
    EXPECT_EQ(call.hints.value(QStringLiteral("desktop-entry")).toString(), QLatin1String(kTandrelAppId));
    EXPECT_EQ(call.timeout, -1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->notifier()->shown().contains(41); }, 30000));

    // Another action, or another notification's, does nothing.
    invoke(41, QStringLiteral("other"));
    invoke(7, QStringLiteral("default"));
    roundTrip(serverBus);
    roundTrip(clientBus);
    EXPECT_FALSE(inbox().expanded());

    // The message arrived in the other inbox: the panel opens there, on it.
    ASSERT_NE(inbox().scope(), arrived.scope);
    invoke(41, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return inbox().expanded(); }, 30000));
    EXPECT_EQ(inbox().selectedID(), arrived.id);
    EXPECT_EQ(inbox().scope(), arrived.scope);
    EXPECT_TRUE(inbox().pinned());
    EXPECT_EQ(inbox().presentation().phase, NotchPresentation::Phase::reader);

    // A closed notification is forgotten.
    QDBusMessage closed = QDBusMessage::createSignal(DesktopNotifier::path, DesktopNotifier::interface,
                                                     QStringLiteral("NotificationClosed"));
    closed << uint(41) << uint(2);
    ASSERT_TRUE(serverBus.send(closed));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->notifier()->shown().isEmpty(); }, 30000));
}

TEST_F(Notifications, BodiesAreEscapedOnlyForServicesThatReadMarkup)
{
    NotificationServer server({QStringLiteral("actions"), QStringLiteral("body"), QStringLiteral("body-markup")});
    ASSERT_TRUE(serve(serverBus, server));
    DesktopNotifier markup(clientBus);
    markup.notify(QStringLiteral("Ann & <Bo>"), QStringLiteral("Q3 <b>plan</b> & notes"), QStringLiteral("k"));
    markup.notify(QStringLiteral("Ann"), QStringLiteral("a < b"), QStringLiteral("k2")); // capabilities known now
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls.size() == 2; }, 30000));
    EXPECT_EQ(server.calls[0].summary, QStringLiteral("Ann & <Bo>")); // titles are never markup
    EXPECT_EQ(server.calls[0].body, QStringLiteral("Q3 &lt;b&gt;plan&lt;/b&gt; &amp; notes"));
    EXPECT_EQ(server.calls[1].body, QStringLiteral("a &lt; b"));
}

TEST_F(Notifications, WithoutTheSwitchOrAServiceNothingIsSentAndNothingFails)
{
    launchNotifying({QStringLiteral("--demo")});
    EXPECT_FALSE(app->notifier());
    app.reset();

    // No service on the bus: the calls fail quietly and the application goes on.
    launchNotifying({QStringLiteral("--demo"), QStringLiteral("--notify")});
    collapse();
    arrive();
    roundTrip(clientBus);
    roundTrip(clientBus);
    EXPECT_TRUE(app->notifier()->shown().isEmpty());
    EXPECT_FALSE(inbox().expanded());
    EXPECT_FALSE(inbox().actionError());

    // A service that turns up later gets the next arrival.
    NotificationServer server({QStringLiteral("actions"), QStringLiteral("body")});
    ASSERT_TRUE(serve(serverBus, server));
    const Message arrived = arrive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.calls.empty(); }, 30000));
    EXPECT_EQ(server.calls.back().body, arrived.subject);
    app.reset();

    // No bus at all.
    DesktopNotifier unconnected(QDBusConnection(QStringLiteral("tandrel-no-such-bus")));
    unconnected.notify(QStringLiteral("Ann"), QStringLiteral("Hello"), QStringLiteral("k"));
    EXPECT_TRUE(unconnected.shown().isEmpty());
}

} // namespace

#include "DesktopNotifierTest.moc"
