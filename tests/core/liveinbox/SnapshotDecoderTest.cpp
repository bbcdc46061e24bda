#include "SnapshotJson.h"
#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/WireDecoder.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

TEST(SnapshotDecoder, GivesTheSameRecordAsDecodingInPlaceOnTheCallingThread)
{
    SnapshotJson json;
    json.scope({QStringLiteral("personal"), QStringLiteral("P"), {{QStringLiteral("a-b"), QStringLiteral("#fff")}}});
    for (int i = 0; i < 50; ++i)
        json.message({.id = QString::number(i), .body = QStringLiteral("body é %1").arg(i), .unread = i % 2 == 0});
    const QByteArray bytes = json.bytes();

    SnapshotDecoder decoder;
    std::optional<Result<LiveSnapshot>> result;
    Qt::HANDLE thread = nullptr;
    decoder.decode(bytes, [&](Result<LiveSnapshot> decoded) {
        thread = QThread::currentThreadId();
        result.emplace(std::move(decoded));
    });
    EXPECT_FALSE(result.has_value()); // never from inside decode()
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }));
    EXPECT_EQ(thread, QThread::currentThreadId());
    ASSERT_TRUE(result->ok());
    EXPECT_EQ(result->value(), WireDecoder::snapshot(bytes).value());

    std::optional<Result<LiveSnapshot>> failure;
    decoder.decode("not json", [&](Result<LiveSnapshot> decoded) { failure.emplace(std::move(decoded)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return failure.has_value(); }));
    EXPECT_EQ(failure->failure().description, QStringLiteral("invalid JSON at byte 0 (unexpected character)"));
}

TEST(SnapshotDecoder, ADestroyedDecoderNeverCallsBack)
{
    bool called = false;
    {
        SnapshotDecoder decoder;
        decoder.decode(SnapshotJson().bytes(), [&](Result<LiveSnapshot>) { called = true; });
    }
    QThreadPool::globalInstance()->waitForDone(5000);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}
