#include "ReduceMotionSetting.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSettings>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString gnomeGroup = QStringLiteral("org.gnome.desktop.interface");
const QString gnomeKey = QStringLiteral("enable-animations");

// The portal wraps values in one or two variants.
QVariant unwrapped(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

ReduceMotionSetting::ReduceMotionSetting(QObject *parent)
    : QObject(parent)
{
    if (const std::optional<bool> forced = fromEnvironment()) {
        m_reduceMotion = *forced;
        return;
    }
    const QString kde = kdeGlobalsPath();
    if (fromKdeGlobals(kde)) {
        readKde();
        m_watcher = new QFileSystemWatcher(this);
        m_watcher->addPath(kde);
        // Editors replace the file; watching the folder too catches the new one.
        m_watcher->addPath(QFileInfo(kde).path());
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString &path) {
            readKde();
            if (!m_watcher->files().contains(path) && QFileInfo::exists(path))
                m_watcher->addPath(path);
        });
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { readKde(); });
        return;
    }
    askPortal();
}

ReduceMotionSetting::~ReduceMotionSetting() = default;

std::optional<bool> ReduceMotionSetting::fromEnvironment()
{
    const QByteArray value = qgetenv("TANDREL_REDUCE_MOTION").trimmed();
    if (value == "1")
        return true;
    if (value == "0")
        return false;
    return std::nullopt;
}

std::optional<bool> ReduceMotionSetting::fromKdeGlobals(const QString &path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const QSettings settings(path, QSettings::IniFormat);
    const QVariant factor = settings.value(QStringLiteral("KDE/AnimationDurationFactor"));
    if (!factor.isValid())
        return std::nullopt;
    bool ok = false;
    const double value = factor.toString().trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value <= 0;
}

QString ReduceMotionSetting::kdeGlobalsPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/kdeglobals");
}

void ReduceMotionSetting::set(bool reduce)
{
    if (m_reduceMotion == reduce)
        return;
    m_reduceMotion = reduce;
    Q_EMIT reduceMotionChanged();
}

void ReduceMotionSetting::readKde()
{
    set(fromKdeGlobals(kdeGlobalsPath()).value_or(false));
}

void ReduceMotionSetting::askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, portalInterface, QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, portalInterface, QStringLiteral("Read"));
    read << gnomeGroup << gnomeKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<QVariant> reply = *call;
        if (reply.isError())
            return;
        const QVariant value = unwrapped(reply.value());
        if (value.userType() == QMetaType::Bool)
            set(!value.toBool());
    });
}

void ReduceMotionSetting::portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group != gnomeGroup || key != gnomeKey)
        return;
    const QVariant inner = unwrapped(value.variant());
    if (inner.userType() == QMetaType::Bool)
        set(!inner.toBool());
}
