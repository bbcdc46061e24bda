#pragma once

#include "FakeRunner.h"
#include "SnapshotJson.h"
#include "InboxTestAccess.h"
#include "VirtualScheduler.h"
#include "inbox/DemoSamples.h"
#include "inbox/Inbox.h"
#include "liveinbox/LiveMessageConversion.h"
#include "liveinbox/WireDecoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

inline QUuid localID(const QString &recordID)
{
    const QByteArray utf8 = recordID.toUtf8();
    LiveMessage record;
    record.id = std::string_view(utf8.constData(), std::size_t(utf8.size()));
    return LiveMessageConversion::localID(record);
}

// A live inbox wired to fakes and virtual time.
class LiveInboxFixture : public ::testing::Test
{
protected:
    void SetUp() override { makeInbox(true); }

    void makeInbox(bool live)
    {
        InboxServices services;
        services.scheduler = &scheduler;
        auto make = [](FakeRunner *&raw) {
            auto runner = std::make_unique<FakeRunner>();
            raw = runner.get();
            return runner;
        };
        services.connection = make(snapshots);
        services.mutationConnection = make(mutations);
        services.subscriptionConnection = make(subscriptionRunner);
        services.replyConnection = make(replies);
        auto source = std::make_unique<FakeHintSource>();
        hints = source.get();
        services.hints = std::move(source);
        services.openUrl = [this](const QUrl &url) { opened.push_back(url); };
        inbox = std::make_unique<Inbox>(live, std::move(services));
    }

    // Runs one refresh to completion with the given snapshot.
    void deliver(const SnapshotJson &snapshot)
    {
        inbox->refresh();
        ASSERT_FALSE(snapshots->idle());
        snapshots->finishNext(snapshot.bytes());
        scheduler.runDue();
    }

    std::optional<Message> byRecord(const QString &recordID) const
    {
        const QUuid id = localID(recordID);
        for (const Message &message : inbox->messages()) {
            if (message.id == id)
                return message;
        }
        return std::nullopt;
    }

    static QByteArray confirmation(const QString &id, bool saved = true, const QString &account = QStringLiteral("me"))
    {
        return QStringLiteral(R"({"saved":%1,"id":"%2","account":{"id":"%3","provider":"google","origin":"o"}})")
            .arg(saved ? QStringLiteral("true") : QStringLiteral("false"), id, account)
            .toUtf8();
    }

    VirtualScheduler scheduler;
    FakeRunner *snapshots = nullptr;
    FakeRunner *mutations = nullptr;
    FakeRunner *subscriptionRunner = nullptr;
    FakeRunner *replies = nullptr;
    FakeHintSource *hints = nullptr;
    std::vector<QUrl> opened;
    std::unique_ptr<Inbox> inbox;
};

inline TestScope personalScope()
{
    return {QStringLiteral("personal"), QStringLiteral("Personal"), {}};
}
inline TestScope teamScope(const QString &id = QStringLiteral("team"))
{
    return {id, QStringLiteral("Team ") + id, {}};
}
