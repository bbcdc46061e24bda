#include "InboxTestSupport.h"
#include "liveinbox/SyncSocket.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <QWebSocketHandshakeOptions>
#include <QWebSocketProtocol>
#include <QWebSocketServer>

#include <optional>

namespace {

// A live inbox whose snapshots come from a fake tool and whose sync sockets are real: the tickets are the
// fake tool's answer to "subscriptions", one socket to ws://127.0.0.1:`port`/sync. `ticket` names the
// ticket of each call (the first call is 1).
struct LoopbackSync
{
    LoopbackSync(quint16 port, std::function<QString(int call)> ticket)
    {
        InboxServices services;
        services.scheduler = &scheduler;
        auto snapshots = std::make_unique<FakeRunner>();
        snapshotRunner = snapshots.get();
        snapshotRunner->autoRespond = [](const FakeRunner::Call &) -> Result<QByteArray> {
            return SnapshotJson().scope(personalScope()).bytes();
        };
        auto subscriptions = std::make_unique<FakeRunner>();
        ticketRunner = subscriptions.get();
        subscriptions->autoRespond = [this, port, ticket](const FakeRunner::Call &) -> Result<QByteArray> {
            return QStringLiteral(R"({"subscriptions":[{"url":"ws://127.0.0.1:%1/sync","ticket":"%2","expiresAt":1}]})")
                .arg(port)
                .arg(ticket(ticketRunner->started))
                .toUtf8();
        };
        services.hints = std::make_unique<SyncSocket>(*subscriptions, scheduler);
        services.subscriptionConnection = std::move(subscriptions);
        services.connection = std::move(snapshots);
        inbox = std::make_unique<Inbox>(true, std::move(services));
    }

    VirtualScheduler scheduler;
    FakeRunner *snapshotRunner = nullptr;
    FakeRunner *ticketRunner = nullptr;
    std::unique_ptr<Inbox> inbox;
};

} // namespace

// The whole sync loop against a real WebSocket server on loopback: hints refresh, a closed socket
// refreshes at once and reconnects after 30 seconds of (virtual) time.
TEST(InboxSyncSocket, HintsRefreshAndAClosedSocketBacksOff)
{
    QWebSocketServer server(QStringLiteral("sync"), QWebSocketServer::NonSecureMode);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    std::vector<QWebSocket *> sockets;
    QObject::connect(&server, &QWebSocketServer::newConnection, [&] {
        QWebSocket *socket = server.nextPendingConnection();
        socket->setParent(&server); // the server cleans up its side
        sockets.push_back(socket);
    });

    LoopbackSync sync(server.serverPort(), [](int) { return QStringLiteral("abc"); });
    VirtualScheduler &scheduler = sync.scheduler;
    FakeRunner *snapshotRunner = sync.snapshotRunner;
    Inbox &inbox = *sync.inbox;

    inbox.startSync();
    EXPECT_EQ(snapshotRunner->started, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sockets.empty(); }));
    EXPECT_EQ(sockets[0]->handshakeOptions().subprotocols(),
              (QStringList{QStringLiteral("tandrel.sync.v1"), QStringLiteral("ticket.abc")}));

    sockets[0]->sendTextMessage(QStringLiteral(R"({"type":"stateChange","version":1})"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return snapshotRunner->started == 2; }));
    sockets[0]->sendBinaryMessage(QByteArray(R"({"type":"stateChange","version":1})"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return snapshotRunner->started == 3; }));

    // The server ends the socket: one refresh at once, then nothing until 30 seconds have passed.
    sockets[0]->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return snapshotRunner->started == 4; }));
    scheduler.runDue();
    QCoreApplication::processEvents();
    EXPECT_EQ(sockets.size(), 1u);
    scheduler.advance(29.5);
    EXPECT_EQ(snapshotRunner->started, 4);
    scheduler.advance(0.6);
    EXPECT_EQ(snapshotRunner->started, 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sockets.size() == 2; }));
    EXPECT_FALSE(inbox.connectionError().has_value());
}

// After a wake the sockets are renewed: the open call ends with 1001 and the loop refreshes and subscribes
// again at once with fresh tickets, without the back-off of a failure.
TEST(InboxSyncSocket, RenewingAfterAWakeReconnectsWithFreshTickets)
{
    // Declared before the server: its sockets report their end while it is destroyed.
    std::vector<QWebSocket *> sockets;
    std::vector<std::optional<int>> closeCodes;
    std::vector<bool> ready; // the client end answered a ping, so it is open too
    QWebSocketServer server(QStringLiteral("sync"), QWebSocketServer::NonSecureMode);
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QWebSocketServer::newConnection, [&] {
        while (QWebSocket *socket = server.nextPendingConnection()) {
            socket->setParent(&server);
            const std::size_t index = sockets.size();
            sockets.push_back(socket);
            closeCodes.emplace_back();
            ready.push_back(false);
            QObject::connect(socket, &QWebSocket::disconnected, socket,
                             [&, index, socket] { closeCodes[index] = int(socket->closeCode()); });
            QObject::connect(socket, &QWebSocket::pong, socket, [&, index] { ready[index] = true; });
            socket->ping();
        }
    });

    LoopbackSync sync(server.serverPort(), [](int call) { return QStringLiteral("t%1").arg(call); });
    FakeRunner *snapshotRunner = sync.snapshotRunner;
    FakeRunner *ticketRunner = sync.ticketRunner;
    Inbox &inbox = *sync.inbox;

    inbox.startSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ready.empty() && ready[0]; }));
    const int snapshotsBefore = snapshotRunner->started;

    inbox.renewSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closeCodes[0].has_value(); }));
    EXPECT_EQ(*closeCodes[0], int(QWebSocketProtocol::CloseCodeGoingAway));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sockets.size() == 2; }));
    EXPECT_EQ(ticketRunner->started, 2);
    EXPECT_EQ(sockets[1]->handshakeOptions().subprotocols(),
              (QStringList{QStringLiteral("tandrel.sync.v1"), QStringLiteral("ticket.t2")}));
    EXPECT_EQ(snapshotRunner->started, snapshotsBefore + 1);

    // The new socket carries hints.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready[1]; }));
    sockets[1]->sendTextMessage(QStringLiteral(R"({"type":"stateChange","version":1})"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return snapshotRunner->started == snapshotsBefore + 2; }));
    EXPECT_FALSE(inbox.connectionError().has_value());
}

// A server that accepts the connection and never answers: after 30 seconds the handshake fails like any
// socket failure, so the loop refreshes, backs off for 30 seconds and subscribes again.
TEST(InboxSyncSocket, AHandshakeThatNeverCompletesBacksOffAndRetries)
{
    std::vector<QTcpSocket *> connections; // declared before the server, which reports their end
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = silent.nextPendingConnection()) {
            socket->setParent(&silent);
            connections.push_back(socket);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        }
    });

    LoopbackSync sync(silent.serverPort(), [](int) { return QStringLiteral("t"); });
    VirtualScheduler &scheduler = sync.scheduler;
    FakeRunner *snapshotRunner = sync.snapshotRunner;
    FakeRunner *ticketRunner = sync.ticketRunner;
    Inbox &inbox = *sync.inbox;

    inbox.startSync();
    ASSERT_TRUE(QTest::qWaitFor([&] { return connections.size() == 1 && connections[0]->bytesAvailable() == 0; }));
    EXPECT_EQ(snapshotRunner->started, 1);
    scheduler.advance(29.9);
    QTest::qWait(50);
    EXPECT_EQ(snapshotRunner->started, 1);

    scheduler.advance(0.1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return snapshotRunner->started == 2; })); // the refresh after a failure
    ASSERT_TRUE(QTest::qWaitFor([&] { return connections[0]->state() == QAbstractSocket::UnconnectedState; }));
    scheduler.advance(29.9);
    EXPECT_EQ(ticketRunner->started, 1);
    scheduler.advance(0.1);
    EXPECT_EQ(ticketRunner->started, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return connections.size() == 2; }));
}
