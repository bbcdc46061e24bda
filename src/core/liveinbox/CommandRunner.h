#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Runs one command of the service's command-line tool and hands back everything it printed.
// LiveInboxConnection is the real one; tests substitute fakes.
class CommandRunner
{
public:
    using Completion = std::function<void(Result<QByteArray>)>;

    virtual ~CommandRunner() = default;

    // Queues the command; commands of one runner run one at a time, in call order. `done` is called
    // later on the calling (main) thread, never from inside run(). A runner destroyed with commands
    // still queued or running never calls their completions.
    virtual void run(const QString &command, const std::optional<QString> &messageID,
                     const std::optional<QString> &body, const QStringList &replyArguments, Completion done) = 0;
};
