#pragma once

#include "CommandRunner.h"
#include "HintSource.h"
#include "LiveSubscriptions.h"
#include "Scheduler.h"

#include <QString>

#include <memory>

// The service's sync channels. Each call of notifications() runs the tool's "subscriptions" command,
// opens one WebSocket per subscription and reports every valid state hint. The first socket to end
// ends the call: every other socket is closed with code 1001 (going away, no reason) and `done`
// reports the failure that ended it. A server close counts as a failure, like a lost connection;
// only HintSubscription::cancel() ends a call normally.
//
// Addresses. Only the address text exactly as the tool wrote it counts, before any normalisation:
//  - the scheme is the text before the first ':' and must be exactly "wss" or "ws" (lower case);
//  - "wss" may name any host;
//  - "ws" must be followed by "//" and an authority (up to the first '/', '?' or '#'); its host, after
//    any "user@" part and without the ":port", must be exactly "localhost" or "127.0.0.1". Other
//    spellings of the loopback ("LOCALHOST", "[::1]", "127.1", "localhost.") and a missing host are
//    refused, and so is any address whose parsed form (what the socket would connect to) names a
//    different host than the text.
// A refused address, or a ticket that is not a valid sub-protocol token, ends the call before any
// socket opens.
//
// Each socket offers the sub-protocols "tandrel.sync.v1" and "ticket." + ticket, in that order, and
// accepts messages (text or binary) of at most 4096 bytes. A message must decode as a LiveStateHint
// with type "stateChange" and version 1; anything else ends the call. Hints of one socket reach the
// handler strictly one after another: the next one waits until `handled` was called for the previous
// one. Hints are never coalesced or dropped while the call runs; hints still waiting when the call
// ends are discarded (the caller refreshes after every call anyway).
//
// Main thread only; `handled` may be called from any thread and any time later (extra calls and
// calls after the end are ignored).
class SyncSocket final : public HintSource
{
public:
    static inline const QString syncProtocol = QStringLiteral("tandrel.sync.v1");
    static inline const QString ticketPrefix = QStringLiteral("ticket.");
    static constexpr qint64 maximumMessageSize = 4096;
    static constexpr std::size_t maximumSubscriptions = 128;
    static constexpr double handshakeSeconds = 30;
    static constexpr double idleSeconds = 60;
    static constexpr double pongSeconds = 30;

    SyncSocket(CommandRunner &runner, Scheduler &scheduler);
    ~SyncSocket() override;

    std::unique_ptr<HintSubscription> notifications(HintHandler onHint, Completion done) override;

    // Whether a sync socket may be opened to the subscription's address (rules above).
    static bool isAllowedAddress(const LiveSubscription &subscription);

private:
    class Call;
    class Subscription;

    CommandRunner &m_runner;
    Scheduler &m_scheduler;
};
