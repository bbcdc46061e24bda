#pragma once

#include "CommandRunner.h"
#include "NotchConfiguration.h"
#include "Scheduler.h"

#include <QObject>
#include <QProcess>

#include <deque>
#include <memory>
#include <optional>

// Runs the service's command-line tool, one command at a time per instance, as an asynchronous child
// process on the main thread's event loop. The configuration file (.config/tandrel/notch.json below the
// home directory) is read on the first command and kept for the life of the instance once it decodes.
//
// A run ends in exactly one of these ways:
// - success: the tool exited with status 0; the result is everything it printed (standard output and
//   standard error interleaved), with spare capacity behind the bytes so the decoder needs no copy;
// - the tool exited with a non-zero status: domain "Tandrel", code = the status, description = the
//   first 500 bytes of the output as strict UTF-8, trimmed (or "Tandrel connection failed");
// - the tool was ended by a signal (the watchdog's termination request after 60 seconds of running time,
//   the kill that follows 5 seconds later, or a crash; time the computer spends suspended does not count): the same, with the signal number as the code; never success;
// - the tool printed more than the output limit: it is killed and the run fails;
// - a platform failure (configuration file unreadable, body directory not creatable, tool not
//   startable), a configuration that does not decode, or an unaccepted provider.
//
// The scheduler must outlive the connection. Destroying the connection kills a running tool, removes
// its reply-body directory and never calls the completions of running or queued commands.
class LiveInboxConnection final : public QObject, public CommandRunner
{
    Q_OBJECT
public:
    struct Options
    {
        // Empty means the platform's own (QDir::homePath(), QDir::tempPath()).
        QString homeDirectory;
        QString temporaryDirectory;
        // Output beyond this many bytes ends the tool and fails the run.
        qint64 outputLimit = defaultOutputLimit;
    };

    static constexpr double watchdogSeconds = 60;
    static constexpr double killGraceSeconds = 5;
    static constexpr qint64 defaultOutputLimit = qint64(512) * 1024 * 1024;

    explicit LiveInboxConnection(Scheduler &scheduler, QObject *parent = nullptr);
    LiveInboxConnection(Scheduler &scheduler, Options options, QObject *parent = nullptr);
    ~LiveInboxConnection() override;

    void run(const QString &command, const std::optional<QString> &messageID,
             const std::optional<QString> &body, const QStringList &replyArguments, Completion done) override;

    // The reply arguments of "reply": the account, then either the personal recipient (numeric ids get
    // the "x:" prefix) or the team conversation and the message replied to.
    static QStringList replyArguments(const QString &accountID, bool personal, const QString &senderAccountID,
                                      const QString &conversationID,
                                      const std::optional<QString> &serverMessageID);

private:
    struct Job
    {
        QString command;
        std::optional<QString> messageID;
        std::optional<QString> body;
        QStringList replyArguments;
        Completion done;
    };

    void scheduleNext();
    void startNext();
    Result<NotchConfiguration> loadConfiguration() const;
    Result<QString> writeBody(const QString &body);
    void readOutput();
    void processStarted();
    void processFailedToStart();
    void processFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void watchdogFired();
    void finish(Result<QByteArray> result);
    void releaseProcess();
    void removeBodyDirectory();

    Scheduler &m_scheduler;
    const QString m_homeDirectory;
    const QString m_temporaryDirectory;
    const qint64 m_outputLimit;

    std::optional<NotchConfiguration> m_configuration;
    std::deque<Job> m_queue;
    bool m_startScheduled = false;

    // The command being run, if any.
    std::optional<Job> m_current;
    QProcess *m_process = nullptr;
    QString m_bodyDirectory;
    QByteArray m_output;
    bool m_outputOverflowed = false;
    int m_signalSent = 0;
    Scheduler::TimerId m_watchdog = 0;
    Scheduler::TimerId m_killTimer = 0;
};
