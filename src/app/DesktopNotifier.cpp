#include "DesktopNotifier.h"

#include "AppIdentity.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
}

void DesktopNotifier::notify(const QString &title, const QString &body, const QString &key)
{
    if (!m_bus.isConnected())
        return;
    if (m_bodyMarkup) {
        send(title, body, key);
        return;
    }
    // The first notification asks what the service can do; its body must not be read as markup by mistake.
    const QDBusMessage ask = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, title, body, key](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> capabilities = *call;
        if (capabilities.isError())
            return; // no service: nothing to show it on
        m_bodyMarkup = capabilities.value().contains(QStringLiteral("body-markup"));
        send(title, body, key);
    });
}

void DesktopNotifier::send(const QString &title, const QString &body, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(kTandrelAppId)},
                            {QStringLiteral("category"), QStringLiteral("im.received")}};
    call << appName << uint(0) << QString::fromLatin1(kTandrelAppId) << title
         << (m_bodyMarkup.value_or(false) ? body.toHtmlEscaped() : body)
         << QStringList{defaultAction, tr("Open")} << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, key](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<uint> id = *done;
        if (!id.isError())
            remember(id.value(), key);
    });
}

void DesktopNotifier::remember(uint id, const QString &key)
{
    if (!m_shown.contains(id))
        m_order.append(id);
    m_shown.insert(id, key);
    while (m_order.size() > maxRemembered)
        m_shown.remove(m_order.takeFirst());
}

void DesktopNotifier::actionInvoked(uint id, const QString &action)
{
    if (action != defaultAction)
        return;
    const auto found = m_shown.constFind(id);
    if (found != m_shown.cend())
        Q_EMIT activated(*found);
}

void DesktopNotifier::notificationClosed(uint id, uint /*reason*/)
{
    if (m_shown.remove(id))
        m_order.removeOne(id);
}
