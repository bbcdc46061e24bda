// Extreme texts at the views' edge, on the offscreen platform: randomised snapshots with huge subjects and
// bodies, right-to-left and combining text, lone surrogates, empty names and thousands of labels reach the
// list and the reader. Nothing may crash, the list keeps exactly its rows, and what the wire itself refuses
// (invalid UTF-8, unpaired surrogate escapes) ends as one line of error, with the rows back on the next
// good snapshot.

#include "AppTestSupport.h"
#include "FakeRunner.h"
#include "SnapshotJson.h"

#include "inbox/ListControls.h"
#include "inbox/VisibleMessageList.h"

#include <QQuickWindow>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Text that is hard to lay out: scripts of both directions, stacks of combining marks, pairs and lone
// halves of surrogates, bidirectional controls, joiners, Markdown and markup characters, line ends.
class Texts
{
public:
    // With `lone`, texts may hold unpaired halves of surrogate pairs, which only the model can carry: the
    // wire refuses them.
    explicit Texts(quint32 seed, bool lone = false) : m_random(seed), m_lone(lone) {}

    QString piece()
    {
        static const QStringList pieces{
            QStringLiteral("plain words "),
            QStringLiteral("שלום עולם "),                                // Hebrew
            QStringLiteral("مرحبا بالعالم "),                           // Arabic
            QStringLiteral("\u202Eevil\u202C "),                        // right-to-left override
            QStringLiteral("\u2067isolate\u2069 "),
            QStringLiteral("e\u0301\u0302\u0303\u0304\u0305\u0306\u0307\u0308\u0309\u030A\u030B\u030C "),
            QStringLiteral("\U0001F469\u200D\U0001F469\u200D\U0001F467 "), // a joined family
            QStringLiteral("\U0001F600"),
            QStringLiteral("**bold** _it_ `code` ~~gone~~ [link](javascript:alert(1)) [ok](https://x.example) "),
            QStringLiteral("<b>not markup</b> &amp; \" ' "),
            QStringLiteral("\n"),
            QStringLiteral("\r\n"),
            QStringLiteral("\u2028"),
            QStringLiteral("\t"),
            QStringLiteral("\uFFFF\uFFFE\uFEFF"),
            QStringLiteral("\u00A0\u3000"),
            QStringLiteral("> quoted\n"),
            QStringLiteral("```\ncode\n"),
            QStringLiteral("# heading\n"),
        };
        if (m_lone && m_random.bounded(8) == 0) {
            // A lone half of a surrogate pair.
            const QChar half(char16_t(m_random.bounded(2) ? 0xD800 + m_random.bounded(0x400) : 0xDC00 + m_random.bounded(0x400)));
            return QString(half);
        }
        if (m_random.bounded(10) == 0) {
            // A long stack of combining marks on one letter.
            QString stack = QStringLiteral("a");
            for (int i = 0, n = int(m_random.bounded(200)); i < n; ++i)
                stack.append(QChar(char16_t(0x0300 + m_random.bounded(0x70))));
            return stack;
        }
        return pieces.at(int(m_random.bounded(qsizetype(pieces.size()))));
    }

    QString text(int length)
    {
        QString result;
        result.reserve(length + 256);
        while (result.size() < length)
            result += piece();
        result.truncate(length);
        if (!m_lone && !result.isEmpty() && result.back().isHighSurrogate())
            result.chop(1);
        return result;
    }

    // Short, long, empty or huge.
    QString any()
    {
        switch (m_random.bounded(6)) {
        case 0: return {};
        case 1: return text(100'000);
        default: return text(int(m_random.bounded(200)));
        }
    }

    quint32 bounded(quint32 limit) { return m_random.bounded(limit); }

private:
    QRandomGenerator m_random;
    bool m_lone;
};

class ViewEdge : public AppFixture
{
protected:
    void launchLive()
    {
        launch({}, [this](Scheduler &scheduler) {
            InboxServices services;
            services.scheduler = &scheduler;
            auto snapshots = std::make_unique<FakeRunner>();
            snapshots->autoRespond = [this](const FakeRunner::Call &) { return served; };
            services.connection = std::move(snapshots);
            services.mutationConnection = std::make_unique<FakeRunner>();
            services.subscriptionConnection = std::make_unique<FakeRunner>();
            services.replyConnection = std::make_unique<FakeRunner>();
            services.hints = std::make_unique<FakeHintSource>();
            services.openUrl = [](const QUrl &) {};
            return services;
        });
        inbox().setPinned(true);
        inbox().open();
        settle();
    }
    void serve(const QByteArray &snapshot)
    {
        served = snapshot;
        inbox().refresh();
        settle();
    }
    int listedRows()
    {
        QList<QQuickItem *> lists;
        collectVisible(app->panel()->contentItem(), QStringLiteral("messageRows"), lists);
        return lists.isEmpty() ? -1 : lists.first()->property("count").toInt();
    }
    // Opens the reader on a message and goes back to the list, drawing each.
    void read(Message message)
    {
        inbox().select(message);
        settle();
        settle();
        inbox().deselect();
        settle();
    }

    QByteArray served;
};

TEST_F(ViewEdge, RandomExtremeTextsKeepEveryRowAndReadWithoutCrashing)
{
    launchLive();
    for (const quint32 seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        Texts texts(seed);
        SnapshotJson snapshot;
        snapshot.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
        const int count = 12;
        for (int i = 0; i < count; ++i) {
            snapshot.message({.id = QStringLiteral("m%1-%2").arg(seed).arg(i),
                              .conversationId = QStringLiteral("c%1").arg(i),
                              .sender = texts.any(),
                              .subject = i == 0 ? texts.text(100'000) : texts.any(),
                              .body = texts.any(),
                              .createdAt = double(i),
                              .unread = texts.bounded(2) == 0});
        }
        serve(snapshot.bytes());
        ASSERT_FALSE(inbox().connectionError()) << qPrintable(*inbox().connectionError());
        ASSERT_EQ(inbox().visibleMessages()->rowCount(), count);
        EXPECT_EQ(listedRows(), count);
        for (int round = 0; round < 4; ++round)
            read(inbox().messages().at(qsizetype(texts.bounded(quint32(count)))));
        EXPECT_EQ(listedRows(), count);
    }
}

TEST_F(ViewEdge, LoneSurrogatesAndAnEmptyNameReachTheViewsAndKeepTheirRows)
{
    launchLive();
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
    snapshot.message({.id = QStringLiteral("a"), .createdAt = 1});
    snapshot.message({.id = QStringLiteral("b"), .conversationId = QStringLiteral("c2"), .createdAt = 2});
    serve(snapshot.bytes());
    ASSERT_EQ(inbox().messages().size(), 2);

    // The wire refuses unpaired halves, but a text cut in the middle of a pair carries one: the views get
    // them straight from the model.
    Texts texts(7, true);
    QList<Message> messages = inbox().messages();
    messages[0].sender = QString();
    messages[0].initials = QString();
    messages[0].subject = QString(QChar(char16_t(0xD83D)));
    messages[0].body = QString(5000, QChar(char16_t(0xDE00))) + QStringLiteral("[x](https://a.example/") +
                       QChar(char16_t(0xD800)) + QStringLiteral(")");
    messages[1].sender = QString(QChar(char16_t(0xDBFF)));
    messages[1].subject = QString();
    messages[1].body = texts.text(100'000);
    inbox().setMessages(messages);
    settle();
    EXPECT_EQ(listedRows(), 2);
    for (const Message &message : std::as_const(messages))
        read(message);
    EXPECT_EQ(listedRows(), 2);
}

TEST_F(ViewEdge, WhatTheWireRefusesIsOneLineOfErrorAndTheRowsComeBack)
{
    launchLive();
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
    snapshot.message({.id = QStringLiteral("a"), .subject = QStringLiteral("MARK"), .createdAt = 1});
    snapshot.message({.id = QStringLiteral("b"), .conversationId = QStringLiteral("c2"), .createdAt = 2});
    const QByteArray good = snapshot.bytes();
    ASSERT_TRUE(good.contains("MARK"));

    for (const QByteArray &bad : {QByteArray("\xFF\xFE"), QByteArray("\xED\xA0\x80"), QByteArray("\xC0\xAF"),
                                  QByteArray("\\ud800"), QByteArray("\\udc00x"), QByteArray("\xF4\x90\x80\x80")}) {
        SCOPED_TRACE(bad.toPercentEncoding().toStdString());
        serve(good);
        ASSERT_EQ(listedRows(), 2);
        serve(QByteArray(good).replace("MARK", bad));
        ASSERT_TRUE(inbox().connectionError());
        EXPECT_FALSE(inbox().connectionError()->contains(u'\n'));
        EXPECT_EQ(listedRows(), 0);
        serve(good);
        EXPECT_FALSE(inbox().connectionError());
        EXPECT_EQ(listedRows(), 2);
    }
}

TEST_F(ViewEdge, TenThousandLabelsFilterAndListWithoutCrashing)
{
    launchLive();
    constexpr int labels = 10'000;
    SnapshotJson snapshot;
    QList<QPair<QString, QString>> colours;
    for (int i = 0; i < labels; ++i)
        colours.append({QStringLiteral("label-%1").arg(i), i % 2 ? QStringLiteral("#ff0000") : QStringLiteral("nonsense")});
    snapshot.scope({QStringLiteral("team"), QStringLiteral("Team"), colours});
    Texts texts(11);
    for (int i = 0; i < labels; ++i) {
        snapshot.message({.id = QStringLiteral("m%1").arg(i), .scopeId = QStringLiteral("team"),
                          .conversationId = QStringLiteral("c%1").arg(i),
                          .sender = i % 100 ? QStringLiteral("Ola") : QString(),
                          .subject = i % 1000 ? QStringLiteral("s") : texts.text(2000),
                          .category = QStringLiteral("label-%1").arg(i), .createdAt = double(i)});
    }
    serve(snapshot.bytes());
    ASSERT_FALSE(inbox().connectionError()) << qPrintable(*inbox().connectionError());
    inbox().switchScopeTo(QStringLiteral("team"));
    settle();
    EXPECT_EQ(inbox().labels().size(), labels);
    EXPECT_EQ(inbox().controls()->labelFilterMenu().size(), labels + 2) << "\"All labels\", a separator, every label";
    EXPECT_EQ(listedRows(), labels);

    const QString label = inbox().labels().at(qsizetype(texts.bounded(labels)));
    inbox().setLabel(label);
    settle();
    EXPECT_EQ(listedRows(), 1);
    const QList<Message> all = inbox().messages();
    for (const Message &message : all)
        if (message.category == label)
            read(message);
    inbox().setLabel(Inbox::allLabels);
    settle();
    EXPECT_EQ(listedRows(), labels);
}

} // namespace
