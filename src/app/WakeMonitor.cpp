#include "WakeMonitor.h"

namespace {

const QString path = QStringLiteral("/org/freedesktop/login1");
const QString interface = QStringLiteral("org.freedesktop.login1.Manager");
const QString signal = QStringLiteral("PrepareForSleep");

} // namespace

WakeMonitor::WakeMonitor(QObject *parent)
    : WakeMonitor(QDBusConnection::systemBus(), QStringLiteral("org.freedesktop.login1"), parent)
{
}

WakeMonitor::WakeMonitor(const QDBusConnection &bus, const QString &sender, QObject *parent)
    : QObject(parent), m_bus(bus), m_sender(sender)
{
    if (!m_bus.isConnected())
        return;
    m_active = m_bus.connect(m_sender, path, interface, signal, this, SLOT(prepareForSleep(bool)));
}

WakeMonitor::~WakeMonitor()
{
    if (m_active)
        m_bus.disconnect(m_sender, path, interface, signal, this, SLOT(prepareForSleep(bool)));
}

void WakeMonitor::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        Q_EMIT woke();
}
