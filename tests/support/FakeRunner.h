#pragma once

#include "liveinbox/CommandRunner.h"
#include "liveinbox/HintSource.h"

#include <QList>

#include <deque>
#include <functional>

// A command runner whose commands finish only when the test says so.
class FakeRunner final : public CommandRunner
{
public:
    struct Call
    {
        QString command;
        std::optional<QString> messageID;
        std::optional<QString> body;
        QStringList replyArguments;
        Completion done;
    };

    void run(const QString &command, const std::optional<QString> &messageID, const std::optional<QString> &body,
             const QStringList &replyArguments, Completion done) override
    {
        calls.push_back({command, messageID, body, replyArguments, std::move(done)});
        ++started;
        if (autoRespond)
            finishNext(autoRespond(calls.back()));
    }

    // Finishes the oldest unfinished command with the given output or failure.
    void finishNext(Result<QByteArray> output)
    {
        Call call = std::move(calls.front());
        calls.pop_front();
        call.done(std::move(output));
    }
    bool idle() const { return calls.empty(); }

    std::deque<Call> calls; // unfinished commands, oldest first
    int started = 0;
    // When set, every command finishes at once with what it returns.
    std::function<Result<QByteArray>(const Call &)> autoRespond;
};

// A hint source whose calls stay open until the test ends them.
class FakeHintSource final : public HintSource
{
public:
    struct Call
    {
        HintHandler onHint;
        Completion done;
        bool cancelled = false;
    };
    class Handle final : public HintSubscription
    {
    public:
        explicit Handle(FakeHintSource &source) : m_source(source) {}
        void cancel() override { m_source.cancelled = true; }

    private:
        FakeHintSource &m_source;
    };

    std::unique_ptr<HintSubscription> notifications(HintHandler onHint, Completion done) override
    {
        ++opened;
        current = Call{std::move(onHint), std::move(done)};
        return std::make_unique<Handle>(*this);
    }

    // Delivers one hint; returns whether the handler has called back.
    bool hint()
    {
        bool handled = false;
        current->onHint([&handled] { handled = true; });
        return handled;
    }
    void end(Result<void> result)
    {
        Call call = std::move(*current);
        current.reset();
        call.done(std::move(result));
    }

    std::optional<Call> current;
    int opened = 0;
    bool cancelled = false;
};
