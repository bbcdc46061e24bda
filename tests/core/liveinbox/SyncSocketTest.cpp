#include "liveinbox/SyncSocket.h"

#include "VirtualScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketHandshakeOptions>
#include <QWebSocketProtocol>
#include <QWebSocketServer>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// Runs the event loop until `condition` holds or the timeout (real loopback I/O only) passes.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 3000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

// Lets in-flight loopback traffic arrive, to show that something did not happen.
void settle()
{
    waitUntil([] { return false; }, 60);
}

const QByteArray validHint = R"({"type":"stateChange","version":1})";

struct RunCall
{
    QString command;
    std::optional<QString> messageID;
    std::optional<QString> body;
    QStringList replyArguments;
};

class FakeRunner final : public CommandRunner
{
public:
    Result<QByteArray> output = QByteArray();
    bool synchronous = false; // breaks the runner contract on purpose
    std::vector<RunCall> calls;

    void run(const QString &command, const std::optional<QString> &messageID,
             const std::optional<QString> &body, const QStringList &replyArguments, Completion done) override
    {
        calls.push_back({command, messageID, body, replyArguments});
        if (synchronous) {
            done(output);
            return;
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [done, result = output] { done(result); }, Qt::QueuedConnection);
    }
};

// A sync endpoint on 127.0.0.1 that records every connection and the close code it sees.
//
// The server finishes its side of the opening handshake before the client has read the answer, and a
// socket that is still connecting can only be dropped, not closed with a code. So every new connection is
// pinged at once: its pong proves that the client side is open too (`ready`), and tests that look at close
// codes wait for that before making a socket end.
class SyncServer
{
public:
    struct Client
    {
        QWebSocket *socket = nullptr;
        std::optional<int> closeCode;
        bool ready = false;
    };

    explicit SyncServer(bool acceptsSyncProtocol = true)
        : m_server(QStringLiteral("sync"), QWebSocketServer::NonSecureMode)
    {
        if (acceptsSyncProtocol)
            m_server.setSupportedSubprotocols({SyncSocket::syncProtocol});
        m_server.setMaxPendingConnections(256);
        QObject::connect(&m_server, &QWebSocketServer::newConnection, [this] {
            while (QWebSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(&m_server);
                const std::size_t index = clients.size();
                clients.push_back({socket, std::nullopt, false});
                QObject::connect(socket, &QWebSocket::disconnected, socket, [this, index, socket] {
                    clients[index].closeCode = int(socket->closeCode());
                });
                QObject::connect(socket, &QWebSocket::pong, socket, [this, index] { clients[index].ready = true; });
                socket->ping();
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QString url(const QString &path = QStringLiteral("/sync")) const
    {
        return QStringLiteral("ws://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    quint16 port() const { return m_server.serverPort(); }
    QWebSocket &client(std::size_t index) { return *clients.at(index).socket; }

    std::vector<Client> clients;

private:
    QWebSocketServer m_server;
};

// A TCP relay on 127.0.0.1 in front of a server, standing in for the network between the two: it passes
// bytes both ways until cut(), then swallows everything without closing anything, the way a connection
// lost under a sleeping laptop or behind a NAT looks. One that never passes anything is a server that
// accepts connections and never answers. It counts the WebSocket control frames each side sends.
class Relay
{
public:
    Relay(quint16 target, bool passing) : m_target(target), m_passing(passing)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *client = m_server.nextPendingConnection())
                attach(client);
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QString url() const { return QStringLiteral("ws://127.0.0.1:%1/sync").arg(m_server.serverPort()); }
    void cut() { m_passing = false; }

    struct Direction
    {
        QByteArray stream; // everything sent, from the first frame on
        bool framing = false;
        int pings = 0;
        int pongs = 0;
    };
    Direction fromClient;
    Direction fromServer;
    qint64 received = 0;         // bytes from the client, passed or not
    bool clientGone = false;

private:
    void attach(QTcpSocket *client)
    {
        client->setParent(&m_server);
        auto *upstream = new QTcpSocket(client);
        QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, upstream] {
            if (upstream->state() == QAbstractSocket::ConnectedState || !m_passing)
                pass(*client, upstream, fromClient, true);
        });
        QObject::connect(client, &QTcpSocket::disconnected, client, [this] { clientGone = true; });
        QObject::connect(upstream, &QTcpSocket::connected, upstream,
                         [this, client, upstream] { pass(*client, upstream, fromClient, true); });
        QObject::connect(upstream, &QTcpSocket::readyRead, upstream,
                         [this, client, upstream] { pass(*upstream, client, fromServer, false); });
        upstream->connectToHost(QHostAddress::LocalHost, m_target);
    }

    void pass(QTcpSocket &from, QTcpSocket *to, Direction &direction, bool client)
    {
        const QByteArray bytes = from.readAll();
        if (client)
            received += bytes.size();
        if (!m_passing)
            return;
        to->write(bytes);
        count(direction, bytes, client);
    }

    // Frames after the opening handshake; control frames carry at most 125 bytes, client frames are masked.
    static void count(Direction &direction, const QByteArray &bytes, bool masked)
    {
        direction.stream += bytes;
        if (!direction.framing) {
            const qsizetype end = direction.stream.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            direction.stream.remove(0, end + 4);
            direction.framing = true;
        }
        while (direction.stream.size() >= 2) {
            const int opcode = direction.stream[0] & 0x0F;
            qsizetype length = direction.stream[1] & 0x7F;
            qsizetype header = 2 + (masked ? 4 : 0);
            if (length == 126)
                header += 2;
            if (length >= 126 || direction.stream.size() < header)
                return; // longer frames do not occur in these tests
            if (direction.stream.size() < header + length)
                return;
            direction.pings += opcode == 0x9;
            direction.pongs += opcode == 0xA;
            direction.stream.remove(0, header + length);
        }
    }

    QTcpServer m_server;
    quint16 m_target;
    bool m_passing;
};

QByteArray subscriptionsJson(const std::vector<std::pair<QString, QString>> &entries)
{
    QJsonArray list;
    for (const auto &[url, ticket] : entries)
        list.append(QJsonObject{{QStringLiteral("url"), url},
                                {QStringLiteral("ticket"), ticket},
                                {QStringLiteral("expiresAt"), 1900000000.5}});
    return QJsonDocument(QJsonObject{{QStringLiteral("subscriptions"), list}}).toJson(QJsonDocument::Compact);
}

class SyncSocketTest : public ::testing::Test
{
protected:
    // Starts a call; hints are acknowledged at once unless `deferHandled`.
    void start(const QByteArray &subscriptions)
    {
        runner.output = subscriptions;
        startCall();
    }

    void startCall()
    {
        subscription = source.notifications(
            [this](std::function<void()> handled) {
                ++hints;
                if (deferHandled)
                    pending.push_back(std::move(handled));
                else
                    handled();
            },
            [this](Result<void> result) { results.push_back(std::move(result)); });
    }

    // Waits until `count` sockets are open on both ends.
    bool waitForClients(std::size_t count)
    {
        return waitUntil([&] {
            return server.clients.size() == count &&
                   std::all_of(server.clients.begin(), server.clients.end(),
                               [](const SyncServer::Client &client) { return client.ready; });
        });
    }
    bool waitForResult()
    {
        return waitUntil([&] { return !results.empty(); });
    }
    bool waitForHints(int count)
    {
        return waitUntil([&] { return hints == count; });
    }
    bool waitForCloseCode(std::size_t client)
    {
        return waitUntil([&] { return server.clients.at(client).closeCode.has_value(); });
    }

    FakeRunner runner;
    SyncServer server;
    VirtualScheduler scheduler; // nothing here waits in real time but loopback I/O
    SyncSocket source{runner, scheduler};
    std::unique_ptr<HintSubscription> subscription;
    bool deferHandled = false;
    int hints = 0;
    std::vector<std::function<void()>> pending;
    std::vector<Result<void>> results;
};

constexpr int goingAway = QWebSocketProtocol::CloseCodeGoingAway;

TEST_F(SyncSocketTest, OpensOneSocketPerTicketOfferingBothSubprotocolsInOrder)
{
    start(subscriptionsJson(
        {{server.url(QStringLiteral("/a")), QStringLiteral("T0k-3n_1")},
         {QStringLiteral("ws://localhost:%1/b").arg(server.port()), QStringLiteral("second")}}));
    ASSERT_TRUE(waitForClients(2));

    ASSERT_EQ(runner.calls.size(), 1u);
    EXPECT_EQ(runner.calls[0].command, QStringLiteral("subscriptions"));
    EXPECT_FALSE(runner.calls[0].messageID.has_value());
    EXPECT_FALSE(runner.calls[0].body.has_value());
    EXPECT_TRUE(runner.calls[0].replyArguments.isEmpty());

    for (std::size_t i = 0; i < 2; ++i) {
        QWebSocket &client = server.client(i);
        const QString ticket = client.requestUrl().path() == QStringLiteral("/a")
                                   ? QStringLiteral("ticket.T0k-3n_1")
                                   : QStringLiteral("ticket.second");
        EXPECT_EQ(client.request().rawHeader("Sec-WebSocket-Protocol"),
                  (QStringLiteral("tandrel.sync.v1, ") + ticket).toUtf8());
        EXPECT_EQ(client.handshakeOptions().subprotocols(), (QStringList{SyncSocket::syncProtocol, ticket}));
        EXPECT_EQ(client.subprotocol(), SyncSocket::syncProtocol);
    }
    settle();
    EXPECT_TRUE(results.empty());
}

TEST_F(SyncSocketTest, TextAndBinaryHintsEachCallTheHandlerOnce)
{
    start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(1));

    server.client(0).sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitForHints(1));
    server.client(0).sendBinaryMessage(validHint);
    ASSERT_TRUE(waitForHints(2));
    // Exactly at the size limit, spread over frames.
    QByteArray padded = validHint;
    padded.append(QByteArray(SyncSocket::maximumMessageSize - padded.size(), ' '));
    server.client(0).setOutgoingFrameSize(1000);
    server.client(0).sendBinaryMessage(padded);
    ASSERT_TRUE(waitForHints(3));

    settle();
    EXPECT_EQ(hints, 3);
    EXPECT_TRUE(results.empty());
    EXPECT_FALSE(server.clients[0].closeCode.has_value());
}

TEST(SyncSocketHandshake, ServerThatSelectsNoSubprotocolIsStillUsed)
{
    SyncServer plainServer(false);
    FakeRunner runner;
    runner.output = subscriptionsJson({{plainServer.url(), QStringLiteral("t")}});
    VirtualScheduler scheduler;
    SyncSocket source(runner, scheduler);
    int hints = 0;
    bool ended = false;
    const auto subscription = source.notifications(
        [&](std::function<void()> handled) {
            ++hints;
            handled();
        },
        [&](Result<void>) { ended = true; });
    ASSERT_TRUE(waitUntil([&] { return plainServer.clients.size() == 1; }));
    EXPECT_TRUE(plainServer.client(0).subprotocol().isEmpty());
    plainServer.client(0).sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitUntil([&] { return hints == 1; }));
    EXPECT_FALSE(ended);
}

TEST_F(SyncSocketTest, HintsOfOneSocketAreHandledOneAfterAnother)
{
    deferHandled = true;
    start(subscriptionsJson({{server.url(QStringLiteral("/a")), QStringLiteral("a")},
                             {server.url(QStringLiteral("/b")), QStringLiteral("b")}}));
    ASSERT_TRUE(waitForClients(2));
    QWebSocket &a = server.client(0);
    QWebSocket &b = server.client(1);

    for (int i = 0; i < 3; ++i)
        a.sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitForHints(1));
    settle();
    EXPECT_EQ(hints, 1) << "the second hint must wait for the first to be handled";

    // Another socket is not held up by the first one's pending hint.
    b.sendBinaryMessage(validHint);
    ASSERT_TRUE(waitForHints(2));

    // Acknowledging twice releases only one waiting hint.
    pending[0]();
    pending[0]();
    ASSERT_TRUE(waitForHints(3));
    settle();
    EXPECT_EQ(hints, 3);

    pending[2]();
    ASSERT_TRUE(waitForHints(4));
    pending[1]();
    pending[3]();
    settle();
    EXPECT_EQ(hints, 4) << "three hints on one socket, one on the other, none coalesced or repeated";
    EXPECT_TRUE(results.empty());
}

struct BadMessage
{
    const char *name;
    QByteArray bytes;
    QString domain;
    qint64 code;

    friend void PrintTo(const BadMessage &message, std::ostream *out) { *out << message.name; }
};

class SyncSocketBadMessageTest : public SyncSocketTest, public ::testing::WithParamInterface<BadMessage>
{
};

TEST_P(SyncSocketBadMessageTest, EndsTheCallWithAnErrorAndClosesTheSocket)
{
    start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(1));

    server.client(0).sendBinaryMessage(GetParam().bytes);
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().domain, GetParam().domain);
    EXPECT_EQ(results[0].failure().code, GetParam().code);
    EXPECT_EQ(hints, 0);
    ASSERT_TRUE(waitForCloseCode(0));
    EXPECT_EQ(*server.clients[0].closeCode, goingAway);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SyncSocketBadMessageTest,
    ::testing::Values(BadMessage{"VersionTwo", R"({"type":"stateChange","version":2})", Failure::urlDomain,
                                 Failure::cannotParseResponse},
                      BadMessage{"WrongType", R"({"type":"StateChange","version":1})", Failure::urlDomain,
                                 Failure::cannotParseResponse},
                      BadMessage{"MissingVersion", R"({"type":"stateChange"})", Failure::jsonDomain, 1},
                      BadMessage{"InvalidJson", "stateChange", Failure::jsonDomain, 1},
                      BadMessage{"TwoDocuments", validHint + validHint, Failure::jsonDomain, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SyncSocketTest, MessagesOverTheSizeLimitEndTheCall)
{
    for (const int frameSize : {8192, 1000}) {
        SCOPED_TRACE(frameSize);
        results.clear();
        const std::size_t client = server.clients.size();
        start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
        ASSERT_TRUE(waitForClients(client + 1));
        QByteArray big = validHint;
        big.append(QByteArray(5000 - big.size(), ' '));
        server.client(client).setOutgoingFrameSize(frameSize);
        server.client(client).sendTextMessage(QString::fromUtf8(big));
        ASSERT_TRUE(waitForResult());
        ASSERT_FALSE(results[0].ok());
        EXPECT_EQ(results[0].failure().code, Failure::networkConnectionLost);
        EXPECT_EQ(hints, 0);
    }
}

TEST_F(SyncSocketTest, FirstSocketToEndClosesTheOthersWithGoingAway)
{
    start(subscriptionsJson({{server.url(QStringLiteral("/a")), QStringLiteral("a")},
                             {server.url(QStringLiteral("/b")), QStringLiteral("b")},
                             {server.url(QStringLiteral("/c")), QStringLiteral("c")}}));
    ASSERT_TRUE(waitForClients(3));

    server.client(1).close(QWebSocketProtocol::CloseCodeNormal);
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().code, Failure::networkConnectionLost);
    for (const std::size_t other : {0u, 2u}) {
        ASSERT_TRUE(waitForCloseCode(other));
        EXPECT_EQ(*server.clients[other].closeCode, goingAway);
    }
    settle();
    EXPECT_EQ(results.size(), 1u);
}

TEST_F(SyncSocketTest, ConnectionFailureEndsTheCall)
{
    quint16 closedPort = 0;
    {
        QWebSocketServer probe(QStringLiteral("probe"), QWebSocketServer::NonSecureMode);
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    start(
        subscriptionsJson({{server.url(), QStringLiteral("t")},
                           {QStringLiteral("ws://127.0.0.1:%1/sync").arg(closedPort), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().code, Failure::networkConnectionLost);
    EXPECT_FALSE(results[0].failure().description.isEmpty());
}

TEST_F(SyncSocketTest, CancelWhileWaitingClosesEverySocketAndCompletesNormally)
{
    deferHandled = true;
    start(subscriptionsJson({{server.url(QStringLiteral("/a")), QStringLiteral("a")},
                             {server.url(QStringLiteral("/b")), QStringLiteral("b")}}));
    ASSERT_TRUE(waitForClients(2));
    server.client(0).sendTextMessage(QString::fromUtf8(validHint));
    server.client(0).sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitForHints(1));

    subscription->cancel();
    EXPECT_TRUE(results.empty()) << "completion must not run inside cancel()";
    ASSERT_TRUE(waitForResult());
    EXPECT_TRUE(results[0].ok());
    for (const std::size_t client : {0u, 1u}) {
        ASSERT_TRUE(waitForCloseCode(client));
        EXPECT_EQ(*server.clients[client].closeCode, goingAway);
    }

    // The waiting hint is discarded; late acknowledgements and cancels change nothing.
    pending[0]();
    subscription->cancel();
    settle();
    EXPECT_EQ(hints, 1);
    EXPECT_EQ(results.size(), 1u);

    // Cancelled while the tickets are still being fetched: no socket opens.
    results.clear();
    start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    subscription->cancel();
    ASSERT_TRUE(waitForResult());
    EXPECT_TRUE(results[0].ok());
    settle();
    EXPECT_EQ(server.clients.size(), 2u);
}

TEST_F(SyncSocketTest, DestroyingTheSubscriptionClosesSilently)
{
    start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(1));
    subscription.reset();
    ASSERT_TRUE(waitForCloseCode(0));
    EXPECT_EQ(*server.clients[0].closeCode, goingAway);

    // Also when the call had already ended but its completion was not delivered yet.
    start(subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(2));
    subscription->cancel();
    subscription.reset();

    // And from inside the handler, with another hint waiting.
    runner.output = subscriptionsJson({{server.url(), QStringLiteral("t")}});
    subscription = source.notifications(
        [this](std::function<void()> handled) {
            ++hints;
            subscription.reset();
            handled();
        },
        [this](Result<void> result) { results.push_back(std::move(result)); });
    ASSERT_TRUE(waitForClients(3));
    server.client(2).sendTextMessage(QString::fromUtf8(validHint));
    server.client(2).sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitForCloseCode(2));
    settle();
    EXPECT_EQ(hints, 1);
    EXPECT_TRUE(results.empty());
}

// A server that accepts the connection but never completes the handshake must not stall the sync forever.
TEST_F(SyncSocketTest, AHandshakeThatDoesNotCompleteInThirtySecondsFails)
{
    Relay silent(server.port(), false);
    start(subscriptionsJson({{silent.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitUntil([&] { return silent.received > 0; })); // the opening request went out

    scheduler.advance(29.9);
    settle();
    EXPECT_TRUE(results.empty());
    scheduler.advance(0.1);
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().domain, Failure::urlDomain);
    EXPECT_EQ(results[0].failure().code, Failure::timedOut);
    EXPECT_TRUE(waitUntil([&] { return silent.clientGone; })) << "the half-open connection is dropped";
    EXPECT_TRUE(server.clients.empty());
}

TEST_F(SyncSocketTest, AQuietSocketIsPingedAndFailsWhenThePongDoesNotCome)
{
    Relay relay(server.port(), true);
    start(subscriptionsJson({{relay.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(1));
    const auto pongDelivered = [&](int count) {
        const bool seen = waitUntil([&] { return relay.fromServer.pongs == count; });
        settle(); // and read by the client
        return seen;
    };

    // Open in time: the handshake limit is gone; nothing is sent for 60 quiet seconds.
    scheduler.advance(59.9);
    settle();
    EXPECT_EQ(relay.fromClient.pings, 0);
    EXPECT_TRUE(results.empty());
    scheduler.advance(0.1);
    ASSERT_TRUE(waitUntil([&] { return relay.fromClient.pings == 1; }));
    ASSERT_TRUE(pongDelivered(1));
    scheduler.advance(30);
    settle();
    EXPECT_TRUE(results.empty()) << "answered in time";

    // A hint is traffic too: the next ping comes 60 seconds after it.
    server.client(0).sendTextMessage(QString::fromUtf8(validHint));
    ASSERT_TRUE(waitForHints(1));
    scheduler.advance(59.9);
    settle();
    EXPECT_EQ(relay.fromClient.pings, 1);

    // The connection goes silent: the ping is lost, and 30 seconds later the call fails.
    relay.cut();
    scheduler.advance(0.1);
    settle();
    scheduler.advance(29.9);
    settle();
    EXPECT_TRUE(results.empty());
    scheduler.advance(0.1);
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().code, Failure::timedOut);
    EXPECT_EQ(scheduler.pendingCount(), 0u) << "no watch outlives the call";
}

TEST_F(SyncSocketTest, SocketsThatKeepAnsweringStayOpen)
{
    Relay relay(server.port(), true);
    start(subscriptionsJson({{relay.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForClients(1));
    for (int minute = 1; minute <= 10; ++minute) {
        scheduler.advance(60);
        ASSERT_TRUE(waitUntil([&] { return relay.fromServer.pongs == minute; })) << minute;
        settle();
    }
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(relay.fromClient.pings, 10);
    subscription->cancel();
    ASSERT_TRUE(waitForResult());
    EXPECT_TRUE(results[0].ok());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(SyncSocketTest, SubscriptionCountMustBeOneToHundredTwentyEight)
{
    for (const int count : {0, 129}) {
        SCOPED_TRACE(count);
        results.clear();
        start(subscriptionsJson(
            std::vector<std::pair<QString, QString>>(count, {server.url(), QStringLiteral("t")})));
        ASSERT_TRUE(waitForResult());
        ASSERT_FALSE(results[0].ok());
        EXPECT_EQ(results[0].failure(),
                  Failure::url(Failure::badServerResponse, results[0].failure().description));
    }
    settle();
    EXPECT_TRUE(server.clients.empty());

    // 128 are accepted. (Waiting for all of them would run into the listen backlog's SYN retry.)
    results.clear();
    start(subscriptionsJson(
        std::vector<std::pair<QString, QString>>(128, {server.url(), QStringLiteral("t")})));
    ASSERT_TRUE(waitUntil([&] { return server.clients.size() >= 32; }));
    settle();
    EXPECT_TRUE(results.empty());
}

TEST_F(SyncSocketTest, RefusedAddressOrTicketEndsTheCallBeforeAnySocketOpens)
{
    const auto expectRefused = [&](const QString &url, const QString &ticket, Failure::UrlCode code) {
        SCOPED_TRACE(url.toStdString() + " " + ticket.toStdString());
        results.clear();
        start(subscriptionsJson({{server.url(), QStringLiteral("t")}, {url, ticket}}));
        ASSERT_TRUE(waitForResult());
        ASSERT_FALSE(results[0].ok());
        EXPECT_EQ(results[0].failure().domain, Failure::urlDomain);
        EXPECT_EQ(results[0].failure().code, code);
    };
    for (const char *refused :
         {"ws://[::1]:%1/", "ws://example.com:%1/", "ws://LOCALHOST:%1/", "WS://127.0.0.1:%1/"})
        expectRefused(QString::fromLatin1(refused).arg(server.port()), QStringLiteral("t"),
                      Failure::unsupportedURL);
    expectRefused(server.url(), QStringLiteral("two words"), Failure::badServerResponse);
    settle();
    EXPECT_TRUE(server.clients.empty());
}

TEST_F(SyncSocketTest, TicketFailuresArePassedOnAndReportedLater)
{
    const Failure toolFailure = Failure::tandrel(3, QStringLiteral("The tool exited with status 3."));
    runner.output = toolFailure;
    runner.synchronous = true;
    startCall();
    EXPECT_TRUE(results.empty()) << "completion must not run inside notifications()";
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure(), toolFailure);

    results.clear();
    runner.synchronous = false;
    start("update available\n" + subscriptionsJson({{server.url(), QStringLiteral("t")}}));
    ASSERT_TRUE(waitForResult());
    ASSERT_FALSE(results[0].ok());
    EXPECT_EQ(results[0].failure().domain, Failure::jsonDomain);
    settle();
    EXPECT_TRUE(server.clients.empty());
}

LiveSubscription subscriptionAt(const char *text)
{
    return {QUrl(QString::fromUtf8(text), QUrl::StrictMode), text, "t", 0};
}

TEST(SyncSocketAddress, PlainSocketsOnlyToTheTwoLoopbackSpellings)
{
    for (const char *allowed :
         {"ws://localhost/sync", "ws://127.0.0.1:8080/sync?v=1#x", "ws://localhost:9/", "ws://me@127.0.0.1/",
          "wss://sync.tandrel.example/v1", "wss://[::1]:443/", "wss://LOCALHOST/"}) {
        EXPECT_TRUE(SyncSocket::isAllowedAddress(subscriptionAt(allowed))) << allowed;
    }
    // The parsed form must name the same host as the text.
    EXPECT_FALSE(
        SyncSocket::isAllowedAddress({QUrl(QStringLiteral("ws://example.com/")), "ws://localhost/", "t", 0}));
    // clang-format off
    for (const char *refused : {
             "ws://[::1]/", "ws://[::1]:8080/sync", "ws://LOCALHOST/", "ws://Localhost/", "ws://example.com/",
             "ws://127.0.0.2/", "ws://127.1/", "ws://0x7f000001/", "ws://2130706433/", "ws://localhost./",
             "ws://localhost.example.com/", "ws://127.0.0.1.example.com/", "ws://local%68ost/",
             "ws://localhost@example.com/", "ws:///sync", "ws:localhost", "ws://", "WS://localhost/",
             "Wss://host/", "wss", "http://localhost/", "https://localhost/", "localhost"}) {
        // clang-format on
        EXPECT_FALSE(SyncSocket::isAllowedAddress(subscriptionAt(refused))) << refused;
    }
}

} // namespace
