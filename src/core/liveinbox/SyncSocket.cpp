#include "SyncSocket.h"

#include "WireDecoder.h"

#include <QAbstractSocket>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QWebSocket>
#include <QWebSocketHandshakeOptions>
#include <QWebSocketProtocol>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// A sub-protocol name is one HTTP token; anything else would be dropped from (or break) the handshake.
bool isTokenCharacter(char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isValidTicket(const std::string &ticket)
{
    for (const char c : ticket) {
        if (!isTokenCharacter(c))
            return false;
    }
    return true;
}

// The host of a "ws" address exactly as written, or nothing when the text has no authority.
std::optional<std::string_view> writtenHost(std::string_view afterScheme)
{
    if (!afterScheme.starts_with("//"))
        return std::nullopt;
    std::string_view authority = afterScheme.substr(2);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    if (authority.starts_with('[')) {
        const auto close = authority.find(']');
        return close == std::string_view::npos ? authority : authority.substr(0, close + 1);
    }
    return authority.substr(0, authority.find(':'));
}

// Sockets may be deleted from inside one of their own signals; never delete them directly.
struct LaterDeleter
{
    void operator()(QWebSocket *socket) const { socket->deleteLater(); }
};

} // namespace

class SyncSocket::Call : public std::enable_shared_from_this<Call>
{
public:
    Call(Scheduler &scheduler, HintHandler onHint, Completion done)
        : m_scheduler(scheduler), m_onHint(std::move(onHint)), m_done(std::move(done))
    {
    }
    Call(const Call &) = delete;
    Call &operator=(const Call &) = delete;
    ~Call()
    {
        for (Channel &channel : m_channels)
            disarm(channel);
    }

    void start(CommandRunner &runner)
    {
        std::weak_ptr<Call> weak = weak_from_this();
        runner.run(QStringLiteral("subscriptions"), std::nullopt, std::nullopt, {},
                   [weak](Result<QByteArray> output) {
                       if (const auto self = weak.lock())
                           self->subscribed(output);
                   });
    }

    // Ends the call normally: every socket closes and `done` reports success.
    void cancel() { finish(Result<void>()); }

    // Ends the call without reporting anything.
    void dispose()
    {
        m_done = nullptr;
        m_state = State::ended;
        closeSockets();
    }

private:
    enum class State { fetching, running, ended };

    struct Channel
    {
        std::unique_ptr<QWebSocket, LaterDeleter> socket;
        qsizetype waiting = 0; // accepted hints not yet given to the handler
        bool busy = false;     // the handler has not yet called `handled` for the last hint
        bool draining = false;
        quint64 serial = 0; // numbers the hints given to the handler
        Scheduler::TimerId watch = 0; // the handshake limit, the idle wait or the wait for an answer to a ping
    };

    void subscribed(const Result<QByteArray> &output)
    {
        if (m_state != State::fetching)
            return;
        if (!output)
            return finish(output.failure());
        const Result<LiveSubscriptions> decoded = WireDecoder::subscriptions(*output);
        if (!decoded)
            return finish(decoded.failure());
        const std::vector<LiveSubscription> &list = decoded->subscriptions;
        if (list.empty() || list.size() > maximumSubscriptions) {
            return finish(Failure::url(Failure::badServerResponse,
                                       QCoreApplication::translate("SyncSocket", "The service handed out %n sync subscriptions.",
                                                                   nullptr, int(list.size()))));
        }
        for (const LiveSubscription &subscription : list) {
            if (!isAllowedAddress(subscription)) {
                return finish(Failure::url(Failure::unsupportedURL,
                                           QCoreApplication::translate("SyncSocket", "The sync address %1 is not allowed.")
                                               .arg(QString::fromStdString(subscription.urlText))));
            }
            if (!isValidTicket(subscription.ticket)) {
                return finish(
                    Failure::url(Failure::badServerResponse,
                                 QCoreApplication::translate("SyncSocket", "The service handed out an unusable sync ticket.")));
            }
        }

        m_state = State::running;
        m_channels.resize(list.size());
        for (std::size_t index = 0; index < list.size() && m_state == State::running; ++index)
            open(index, list[index]);
    }

    void open(std::size_t index, const LiveSubscription &subscription)
    {
        auto *socket = new QWebSocket();
        m_channels[index].socket.reset(socket);
        socket->setMaxAllowedIncomingFrameSize(quint64(maximumMessageSize));
        socket->setMaxAllowedIncomingMessageSize(quint64(maximumMessageSize));

        std::weak_ptr<Call> weak = weak_from_this();
        QObject::connect(socket, &QWebSocket::textMessageReceived, socket,
                         [weak, index](const QString &text) {
                             if (const auto self = weak.lock())
                                 self->received(index, text.toUtf8());
                         });
        QObject::connect(socket, &QWebSocket::binaryMessageReceived, socket,
                         [weak, index](const QByteArray &bytes) {
                             if (const auto self = weak.lock())
                                 self->received(index, bytes);
                         });
        QObject::connect(socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), socket,
                         [weak, socket](QAbstractSocket::SocketError) {
                             if (const auto self = weak.lock())
                                 self->finish(
                                     Failure::url(Failure::networkConnectionLost, socket->errorString()));
                         });
        QObject::connect(socket, &QWebSocket::disconnected, socket, [weak, socket] {
            if (const auto self = weak.lock())
                self->finish(Failure::url(Failure::networkConnectionLost, closeDescription(*socket)));
        });
        // Any frame shows that the connection still carries traffic.
        const auto alive = [weak, index] {
            if (const auto self = weak.lock())
                self->awaitTraffic(index);
        };
        QObject::connect(socket, &QWebSocket::connected, socket, alive);
        QObject::connect(socket, &QWebSocket::textFrameReceived, socket, alive);
        QObject::connect(socket, &QWebSocket::binaryFrameReceived, socket, alive);
        QObject::connect(socket, &QWebSocket::pong, socket, alive);

        QWebSocketHandshakeOptions options;
        options.setSubprotocols({syncProtocol, ticketPrefix + QString::fromStdString(subscription.ticket)});
        socket->open(subscription.url, options);
        arm(index, handshakeSeconds, [](Call &call, std::size_t) {
            call.finish(Failure::url(Failure::timedOut, QCoreApplication::translate("SyncSocket", "The sync connection did not open in time.")));
        });
    }

    // Runs `expired` unless disarmed first; one watch per channel.
    void arm(std::size_t index, double seconds, void (*expired)(Call &, std::size_t))
    {
        Channel &channel = m_channels[index];
        disarm(channel);
        std::weak_ptr<Call> weak = weak_from_this();
        channel.watch = m_scheduler.schedule(seconds, [weak, index, expired] {
            const auto self = weak.lock();
            if (!self)
                return;
            self->m_channels[index].watch = 0;
            if (self->m_state == State::running)
                expired(*self, index);
        });
    }

    void disarm(Channel &channel)
    {
        if (channel.watch)
            m_scheduler.cancel(std::exchange(channel.watch, 0));
    }

    // The connection is open and has just carried a frame: ping it once it has been quiet for a while.
    void awaitTraffic(std::size_t index)
    {
        if (m_state != State::running)
            return;
        arm(index, idleSeconds, [](Call &call, std::size_t quiet) {
            call.m_channels[quiet].socket->ping();
            call.arm(quiet, pongSeconds, [](Call &silent, std::size_t) {
                silent.finish(
                    Failure::url(Failure::timedOut, QCoreApplication::translate("SyncSocket", "The sync connection stopped answering.")));
            });
        });
    }

    static QString closeDescription(const QWebSocket &socket)
    {
        const QString reason = socket.closeReason();
        return reason.isEmpty()
                   ? QCoreApplication::translate("SyncSocket", "The sync connection was closed (code %1).").arg(int(socket.closeCode()))
                   : QCoreApplication::translate("SyncSocket", "The sync connection was closed (code %1: %2).")
                         .arg(int(socket.closeCode()))
                         .arg(reason);
    }

    void received(std::size_t index, const QByteArray &bytes)
    {
        if (m_state != State::running)
            return;
        const Result<LiveStateHint> hint = WireDecoder::stateHint(bytes);
        if (!hint)
            return finish(hint.failure());
        if (hint->type != "stateChange" || hint->version != 1) {
            return finish(Failure::url(Failure::cannotParseResponse,
                                       QCoreApplication::translate("SyncSocket", "The sync channel sent an unknown message.")));
        }
        ++m_channels[index].waiting;
        drain(index);
    }

    // Gives waiting hints to the handler, one at a time.
    void drain(std::size_t index)
    {
        Channel &channel = m_channels[index];
        if (channel.draining)
            return;
        const auto self = shared_from_this(); // the handler may drop the subscription
        channel.draining = true;
        while (m_state == State::running && !channel.busy && channel.waiting > 0) {
            --channel.waiting;
            channel.busy = true;
            m_onHint(handledCallback(index, ++channel.serial));
        }
        channel.draining = false;
    }

    std::function<void()> handledCallback(std::size_t index, quint64 serial)
    {
        std::weak_ptr<Call> weak = weak_from_this();
        return [weak, index, serial] {
            auto deliver = [weak, index, serial] {
                if (const auto self = weak.lock())
                    self->handled(index, serial);
            };
            QCoreApplication *app = QCoreApplication::instance();
            if (app == nullptr || QThread::currentThread() == app->thread())
                deliver();
            else
                QMetaObject::invokeMethod(app, deliver, Qt::QueuedConnection);
        };
    }

    void handled(std::size_t index, quint64 serial)
    {
        Channel &channel = m_channels[index];
        if (m_state != State::running || !channel.busy || channel.serial != serial)
            return;
        channel.busy = false;
        drain(index);
    }

    void finish(const Result<void> &result)
    {
        if (m_state == State::ended)
            return;
        m_state = State::ended;
        closeSockets();
        std::weak_ptr<Call> weak = weak_from_this();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [weak, result] {
                const auto self = weak.lock();
                if (!self || !self->m_done)
                    return;
                const Completion done = std::move(self->m_done);
                self->m_done = nullptr;
                done(result);
            },
            Qt::QueuedConnection);
    }

    void closeSockets()
    {
        for (Channel &channel : m_channels) {
            disarm(channel);
            QWebSocket *socket = channel.socket.get();
            if (socket == nullptr)
                continue;
            if (socket->state() == QAbstractSocket::ConnectedState)
                socket->close(QWebSocketProtocol::CloseCodeGoingAway);
            else
                socket->abort();
        }
    }

    Scheduler &m_scheduler;
    HintHandler m_onHint;
    Completion m_done;
    State m_state = State::fetching;
    std::vector<Channel> m_channels;
};

class SyncSocket::Subscription final : public HintSubscription
{
public:
    explicit Subscription(std::shared_ptr<Call> call) : m_call(std::move(call)) {}
    ~Subscription() override { m_call->dispose(); }

    void cancel() override { m_call->cancel(); }

private:
    std::shared_ptr<Call> m_call;
};

SyncSocket::SyncSocket(CommandRunner &runner, Scheduler &scheduler) : m_runner(runner), m_scheduler(scheduler) {}

SyncSocket::~SyncSocket() = default;

std::unique_ptr<HintSubscription> SyncSocket::notifications(HintHandler onHint, Completion done)
{
    auto call = std::make_shared<Call>(m_scheduler, std::move(onHint), std::move(done));
    call->start(m_runner);
    return std::make_unique<Subscription>(std::move(call));
}

bool SyncSocket::isAllowedAddress(const LiveSubscription &subscription)
{
    const std::string_view text = subscription.urlText;
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view scheme = text.substr(0, colon);
    if (scheme == "wss")
        return subscription.url.scheme() == QLatin1String("wss");
    if (scheme != "ws" || subscription.url.scheme() != QLatin1String("ws"))
        return false;
    const std::optional<std::string_view> host = writtenHost(text.substr(colon + 1));
    if (!host || (*host != "localhost" && *host != "127.0.0.1"))
        return false;
    // The parsed address is what the socket connects to; it must name the same host.
    return subscription.url.host() == QLatin1String(host->data(), qsizetype(host->size()));
}
