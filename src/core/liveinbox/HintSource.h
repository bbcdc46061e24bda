#pragma once

#include "Result.h"

#include <functional>
#include <memory>

// One open call of HintSource::notifications. Destroying it closes everything silently.
class HintSubscription
{
public:
    virtual ~HintSubscription() = default;
    // Closes every socket (code 1001) and completes the call normally.
    virtual void cancel() = 0;
};

// State-change hints from the service's sync channels. SyncSocket is the real one.
class HintSource
{
public:
    // Called once per accepted hint; the source waits for `handled` before it handles the next hint
    // of the same socket.
    using HintHandler = std::function<void(std::function<void()> handled)>;
    using Completion = std::function<void(Result<void>)>;

    virtual ~HintSource() = default;

    // Fetches tickets, opens one socket per subscription and calls onHint for every valid hint. The
    // call ends (done) when the first socket ends: normally, or with the failure that ended it.
    // `done` is called once, on the main thread, never from inside notifications().
    virtual std::unique_ptr<HintSubscription> notifications(HintHandler onHint, Completion done) = 0;
};
