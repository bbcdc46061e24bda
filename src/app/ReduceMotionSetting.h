#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QString>

#include <optional>

class QFileSystemWatcher;

// The desktop's reduce-motion preference, for the views. In order of precedence:
//  - the environment variable TANDREL_REDUCE_MOTION, "1" (reduce) or "0" (don't), for tests and users;
//  - KDE: AnimationDurationFactor 0 in the [KDE] group of kdeglobals ("instant" animations), followed as it
//    changes;
//  - GNOME and others with the settings portal: org.gnome.desktop.interface enable-animations false, read
//    asynchronously through the portal on the session bus and followed through its change signal.
// Anything unreadable means motion is not reduced.
class ReduceMotionSetting final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)
public:
    explicit ReduceMotionSetting(QObject *parent = nullptr);
    ~ReduceMotionSetting() override;

    bool reduceMotion() const { return m_reduceMotion; }

    // The environment override, when set to a recognised value.
    static std::optional<bool> fromEnvironment();
    // KDE's answer from a kdeglobals file: absent when the file does not set the animation speed.
    static std::optional<bool> fromKdeGlobals(const QString &path);
    // Where kdeglobals lives ($XDG_CONFIG_HOME or ~/.config).
    static QString kdeGlobalsPath();

Q_SIGNALS:
    void reduceMotionChanged();

private Q_SLOTS:
    void portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void set(bool reduce);
    void readKde();
    void askPortal();

    bool m_reduceMotion = false;
    QFileSystemWatcher *m_watcher = nullptr;
};
