#pragma once

#include <QDBusConnection>
#include <QObject>

// Tells when the computer has woken from sleep: logind's PrepareForSleep(false) on the system bus.
// Without a system bus (or without logind) it stays silent; that is not an error.
class WakeMonitor final : public QObject
{
    Q_OBJECT
public:
    explicit WakeMonitor(QObject *parent = nullptr);
    // Listens on the given bus for the signal from `sender` (empty: from anyone) instead.
    WakeMonitor(const QDBusConnection &bus, const QString &sender, QObject *parent = nullptr);
    ~WakeMonitor() override;

    // Whether it listens at all.
    bool active() const { return m_active; }

Q_SIGNALS:
    void woke();

private Q_SLOTS:
    void prepareForSleep(bool sleeping);

private:
    QDBusConnection m_bus;
    QString m_sender;
    bool m_active = false;
};
