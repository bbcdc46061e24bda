#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop notification service (org.freedesktop.Notifications) on a
// bus: one notification per call, with the application's icon and a default action. Every call is
// asynchronous; with no service on the bus the calls fail quietly. Whether a notification is shown at all
// (do-not-disturb and the like) is the service's business.
class DesktopNotifier final : public QObject
{
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString path = QStringLiteral("/org/freedesktop/Notifications");
    static inline const QString interface = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString defaultAction = QStringLiteral("default");
    static inline const QString appName = QStringLiteral("Tandrel Notch");
    // Notifications whose activation is still remembered; older ones are forgotten first.
    static constexpr qsizetype maxRemembered = 64;

    explicit DesktopNotifier(QDBusConnection bus, QObject *parent = nullptr);

    // Shows a notification with `title` (plain text) and `body` (plain text; escaped for services that read
    // markup). Invoking its default action emits `activated(key)`.
    void notify(const QString &title, const QString &body, const QString &key);

    // The notifications shown and not yet closed, by the service's id.
    const QHash<uint, QString> &shown() const { return m_shown; }

Q_SIGNALS:
    void activated(const QString &key);

private Q_SLOTS:
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    void send(const QString &title, const QString &body, const QString &key);
    void remember(uint id, const QString &key);

    QDBusConnection m_bus;
    // Whether the service reads markup in bodies; unknown until it has answered once.
    std::optional<bool> m_bodyMarkup;
    QHash<uint, QString> m_shown;
    QList<uint> m_order;
};
