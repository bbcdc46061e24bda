#include "SingleInstance.h"

#include "AppIdentity.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

SingleInstance::SingleInstance(QString mode, QObject *parent) : QObject(parent), m_mode(std::move(mode)) {}

SingleInstance::~SingleInstance()
{
    if (!m_serving)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath);
    bus.unregisterService(QString::fromLatin1(kTandrelAppId));
}

SingleInstance::Claim SingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return Claim::unavailable;
    // The object first, so that a request arriving right after the name is taken finds it.
    if (!bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots))
        return Claim::unavailable;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        QString::fromLatin1(kTandrelAppId), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_serving = true;
        return Claim::claimed;
    }
    bus.unregisterObject(objectPath);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceNotRegistered)
        return Claim::running;
    return Claim::unavailable;
}

void SingleInstance::handOver(LaunchOptions::Command command, const QString &mode,
                              std::function<void(int status, const QString &error)> done)
{
    const QString method = command == LaunchOptions::Command::open     ? QStringLiteral("Open")
                           : command == LaunchOptions::Command::toggle ? QStringLiteral("Toggle")
                                                                       : QStringLiteral("Start");
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kTandrelAppId), objectPath, interfaceName, method);
    if (command == LaunchOptions::Command::none)
        call << mode;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 10000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [command, mode, done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         const QDBusMessage reply = finished->reply();
                         if (reply.type() == QDBusMessage::ErrorMessage) {
                             done(1, tr("Could not reach the running Tandrel Notch: %1")
                                         .arg(reply.errorMessage()));
                             return;
                         }
                         if (command == LaunchOptions::Command::none) {
                             const QString running = reply.arguments().value(0).toString();
                             if (running != mode) {
                                 // The modes are the words "demo" and "live"; each case is a sentence of its own.
                                 const QString error =
                                     running == QLatin1String("demo") && mode == QLatin1String("live")
                                         ? tr("Tandrel Notch is already running in demo mode; quit it before starting it "
                                              "in live mode.")
                                     : running == QLatin1String("live") && mode == QLatin1String("demo")
                                         ? tr("Tandrel Notch is already running in live mode; quit it before starting it "
                                              "in demo mode.")
                                         : tr("Tandrel Notch is already running in %1 mode; quit it before starting it "
                                              "in %2 mode.")
                                               .arg(running, mode);
                                 done(1, error);
                                 return;
                             }
                         }
                         done(0, {});
                     });
}

QString SingleInstance::Start(const QString &mode)
{
    if (mode == m_mode)
        Q_EMIT openRequested();
    return m_mode;
}

void SingleInstance::Open()
{
    Q_EMIT openRequested();
}

void SingleInstance::Toggle()
{
    Q_EMIT toggleRequested();
}
