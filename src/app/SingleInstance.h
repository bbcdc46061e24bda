#pragma once

#include "LaunchOptions.h"

#include <QObject>
#include <QString>

#include <functional>

// One panel per user: the running application owns the application id as its name on the session bus and
// serves /com/tandrel/Notch; a second start hands its request over to it and ends.
//
// Interface com.tandrel.Notch:
//   Start(s mode) -> s  a plain second start in `mode` ("demo" or "live"): the running instance opens its
//                       panel when the modes agree, and answers with its own mode either way
//   Open()              opens the panel, pinned
//   Toggle()            opens the panel (pinned) or collapses it
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tandrel.Notch")
public:
    enum class Claim
    {
        // This process owns the name now and serves requests.
        claimed,
        // Another process owns it.
        running,
        // No session bus (or it refused the name): the application runs on its own, as before.
        unavailable,
    };

    static inline const QString objectPath = QStringLiteral("/com/tandrel/Notch");
    static inline const QString interfaceName = QStringLiteral("com.tandrel.Notch");

    // `mode` is this process's own mode.
    explicit SingleInstance(QString mode, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Serves the object and asks for the name, without queueing behind another owner.
    Claim claim();

    // Sends `command` (none: a plain start in `mode`) to the running instance. `done` gets the exit status
    // for this process and, for a non-zero status, a one-line error. Answers arrive on the event loop.
    static void handOver(LaunchOptions::Command command, const QString &mode,
                         std::function<void(int status, const QString &error)> done);

public Q_SLOTS:
    Q_SCRIPTABLE QString Start(const QString &mode);
    Q_SCRIPTABLE void Open();
    Q_SCRIPTABLE void Toggle();

Q_SIGNALS:
    void openRequested();
    void toggleRequested();

private:
    QString m_mode;
    bool m_serving = false;
};
