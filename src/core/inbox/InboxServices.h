#pragma once

#include "liveinbox/CommandRunner.h"
#include "liveinbox/HintSource.h"
#include "liveinbox/LiveMessageCache.h"
#include "liveinbox/LiveSnapshot.h"
#include "liveinbox/PreparedSnapshot.h"
#include "liveinbox/Result.h"
#include "liveinbox/Scheduler.h"

#include <QByteArray>
#include <QUrl>

#include <functional>
#include <memory>

// What an Inbox talks to. A live inbox uses four independent command lanes, so a slow reply never delays a
// snapshot; the hint source keeps the sync sockets (on the subscription lane).
struct InboxServices
{
    Scheduler *scheduler = nullptr;
    std::unique_ptr<CommandRunner> connection;             // "snapshot"
    std::unique_ptr<CommandRunner> mutationConnection;     // "read", "focus", "unfocus"
    std::unique_ptr<CommandRunner> subscriptionConnection; // "subscriptions"
    std::unique_ptr<CommandRunner> replyConnection;        // "reply"
    std::unique_ptr<HintSource> hints;
    std::function<void(const QUrl &)> openUrl; // opens a link in the default browser
    // Decodes "snapshot" output, possibly on another thread, calling back on the main thread. When absent
    // the inbox decodes in place.
    std::function<void(QByteArray, std::function<void(Result<LiveSnapshot>)>)> decodeSnapshot;
    // Decodes "snapshot" output and converts its records through the given copy of the conversion cache,
    // possibly on another thread, calling back on the main thread. Used instead of decodeSnapshot when set.
    std::function<void(QByteArray, LiveMessageCache, std::function<void(Result<PreparedSnapshot>)>)> prepareSnapshot;
};
