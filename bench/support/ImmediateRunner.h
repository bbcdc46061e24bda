#pragma once

#include "liveinbox/CommandRunner.h"

#include <QByteArray>

// Hands every command the prepared bytes at once, so a benchmark times the inbox and not a child process.
class ImmediateRunner final : public CommandRunner
{
public:
    void run(const QString &, const std::optional<QString> &, const std::optional<QString> &, const QStringList &,
             Completion done) override
    {
        done(*output);
    }
    const QByteArray *output = nullptr;
};
