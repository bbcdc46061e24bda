#include "content/MessageContentCache.h"

#include <gtest/gtest.h>

namespace {

QString body(int i) { return QStringLiteral("Body **%1**").arg(i); }

} // namespace

TEST(MessageContentCache, ParsesEachBodyOnceAndSharesTheResult)
{
    MessageContentCache cache;
    const auto first = cache.content(body(1));
    const auto again = cache.content(body(1));
    EXPECT_EQ(first.get(), again.get());
    EXPECT_EQ(first->blocks()[0].text().text(), QStringLiteral("Body 1"));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.cost(), first->cost());
}

TEST(MessageContentCache, EvictsTheLeastRecentlyAskedAfter128Bodies)
{
    MessageContentCache cache;
    qint64 expectedCost = 0;
    for (int i = 0; i < 128; ++i)
        expectedCost += cache.content(body(i))->cost();
    EXPECT_EQ(cache.count(), 128);
    EXPECT_EQ(cache.cost(), expectedCost);

    const auto zero = cache.content(body(0)); // now the most recent
    EXPECT_EQ(cache.order().front(), body(1));
    EXPECT_EQ(cache.order().back(), body(0));

    cache.content(body(128));
    EXPECT_EQ(cache.count(), 128);
    EXPECT_FALSE(cache.contains(body(1)));
    EXPECT_TRUE(cache.contains(body(0)));
    EXPECT_TRUE(cache.contains(body(128)));
    EXPECT_EQ(cache.order().front(), body(2));
    EXPECT_EQ(cache.cost(), expectedCost - MessageContent(body(1)).cost() + MessageContent(body(128)).cost());
    EXPECT_EQ(cache.content(body(0)).get(), zero.get());
}

TEST(MessageContentCache, StaysWithinItsCostBudget)
{
    MessageContentCache cache;
    // Each costs 4 × 6 MiB = 24 MiB; two fit in 64 MiB, a third pushes the oldest out.
    const qsizetype size = 6 * 1024 * 1024;
    const QString a = QString(size, u'a');
    const QString b = QString(size, u'b');
    const QString c = QString(size, u'c');
    cache.content(a);
    cache.content(b);
    EXPECT_EQ(cache.cost(), 2 * 4 * qint64(size));
    cache.content(a);
    cache.content(c);
    EXPECT_EQ(cache.order(), (QStringList{a, c}));
    EXPECT_EQ(cache.cost(), 2 * 4 * qint64(size));

    // Content that alone exceeds the budget is returned but neither cached nor allowed to evict.
    const QString huge = QString(MessageContentCache::maximumCost / 4 + 1, u'h');
    const auto content = cache.content(huge);
    EXPECT_GT(content->cost(), MessageContentCache::maximumCost);
    EXPECT_FALSE(cache.contains(huge));
    EXPECT_EQ(cache.order(), (QStringList{a, c}));
}

TEST(MessageContentCache, ClearEmptiesEntriesOrderAndCost)
{
    MessageContentCache cache;
    const auto before = cache.content(body(1));
    cache.content(body(2));
    cache.clear();
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.cost(), 0);
    EXPECT_TRUE(cache.order().isEmpty());
    const auto after = cache.content(body(1));
    EXPECT_NE(before.get(), after.get());
    EXPECT_EQ(cache.order(), QStringList{body(1)});
    EXPECT_EQ(cache.cost(), after->cost());
}
