#include "FakeTextMeasurer.h"

#include "notch/ReaderSizeEstimator.h"

#include <gtest/gtest.h>

namespace {

ReaderSizeEstimator::Input message(const QString &body, bool live = false)
{
    ReaderSizeEstimator::Input input;
    input.subject = QStringLiteral("Launch notes");
    input.body = body;
    input.live = live;
    return input;
}

// `count` lines of `length` characters each, joined by line feeds.
QString lines(int count, int length)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result.append(QString(length, QLatin1Char('a' + i % 26)));
    return result.join(QLatin1Char('\n'));
}

const QString filesFence = QStringLiteral("\n\n```tandrel-files-v1\n[{\"name\":\"a.html\"}]\n```");
const QString photosFence = QStringLiteral("\n\n```tandrel-photos-v1\n[]\n```");

} // namespace

TEST(ReaderSizeEstimator, AttachmentsGetTheLargeCardWithoutMeasuring)
{
    FakeTextMeasurer measurer;
    ReaderSizeEstimator::Input input = message(lines(40, 100));
    input.hasAttachment = true;
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(input, measurer), QSizeF(620, 660));
    EXPECT_TRUE(measurer.measuredBodies.isEmpty());
}

TEST(ReaderSizeEstimator, ShortMessagesKeepTheStandardCard)
{
    FakeTextMeasurer measurer;
    // Body 1 line (18) + subject 1 line (24) + demo chrome 140 = 182.
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(QStringLiteral("See you at ten.")), measurer),
              QSizeF(400, 352));
    // The standard card is tested at the standard wrap width.
    EXPECT_EQ(measurer.measuredBodies, QStringList{QStringLiteral("See you at ten.\n")});

    // Live chrome is 70 points larger: 6 lines (108 + 24 + 210 = 342) fit, 7 lines (360) do not.
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(6, 10), true), measurer), QSizeF(400, 352));
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(7, 10), true), measurer), QSizeF(440, 380));
}

TEST(ReaderSizeEstimator, ACardExactlyFullStillFits)
{
    // Body 212 + subject 0 + demo chrome 140 = 352.
    class FixedMeasurer final : public TextMeasurer
    {
    public:
        explicit FixedMeasurer(double bodyHeight) : m_bodyHeight(bodyHeight) {}
        double bodyLineWidth(const QString &) const override { return 100; }
        double bodyHeight(const QString &, double) const override { return m_bodyHeight; }
        double subjectHeight(const QString &, double) const override { return 0; }

    private:
        double m_bodyHeight;
    };
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(QStringLiteral("x")), FixedMeasurer(212)), QSizeF(400, 352));
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(QStringLiteral("x")), FixedMeasurer(212.5)),
              QSizeF(440, 380));
}

TEST(ReaderSizeEstimator, LongMessagesAreMeasuredAgainAtTheirOwnWidth)
{
    FakeTextMeasurer measurer;
    // 15 lines of 60 characters: widest 420 + 24 = 444 wide; at the standard wrap width (376, 53
    // characters) each line takes two rows, so it does not fit. At 444 - 24 = 420 (60 characters)
    // it takes 15 rows: 270 + subject 24 + chrome.
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(15, 60)), measurer), QSizeF(444, 270 + 24 + 140));
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(15, 60), true), measurer),
              QSizeF(444, 270 + 24 + 210));

    // Short lines keep the minimum width, long ones stop at the maximum; heights are held in range.
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(11, 10)), measurer), QSizeF(440, 380));
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(message(lines(40, 100)), measurer), QSizeF(580, 520));
}

TEST(ReaderSizeEstimator, AMessageWithoutTextLinesIsMeasuredAtTheMinimumWidth)
{
    FakeTextMeasurer measurer;
    ReaderSizeEstimator::Input input = message(QStringLiteral("\n\n\n"));
    input.subject = QString(1000, QLatin1Char('S'));
    const QSizeF size = ReaderSizeEstimator::measureReaderSize(input, measurer);
    EXPECT_EQ(size, QSizeF(440, 520));
    EXPECT_TRUE(measurer.measuredLines.isEmpty());
}

TEST(ReaderSizeEstimator, JoinsTheThreadAndRepliesInOrder)
{
    ReaderSizeEstimator::Input input = message(QStringLiteral("root"));
    input.memberBodies = {QStringLiteral("first answer"), QString()};
    input.replyBodies = {QStringLiteral("demo reply")};
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input), QStringLiteral("root\nfirst answer\n\ndemo reply\n"));

    // The widest line of any member sets the width.
    FakeTextMeasurer measurer;
    input.memberBodies = {lines(15, 60)};
    EXPECT_EQ(ReaderSizeEstimator::measureReaderSize(input, measurer).width(), 444);
}

TEST(ReaderSizeEstimator, MeasuresAtMost4096Characters)
{
    ReaderSizeEstimator::Input input = message(QString(4000, QLatin1Char('a')));
    input.memberBodies = {QString(200, QLatin1Char('b'))};
    input.replyBodies = {QStringLiteral("never measured")};
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input),
              QString(4000, QLatin1Char('a')) + QLatin1Char('\n') + QString(95, QLatin1Char('b')));

    // A text ending at 4095 characters still gets its line feed, and nothing follows.
    input.body = QString(4095, QLatin1Char('a'));
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input), QString(4095, QLatin1Char('a')) + QLatin1Char('\n'));
    input.body = QString(5000, QLatin1Char('a'));
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input), QString(4096, QLatin1Char('a')));

    // Characters are what the user sees: an emoji (two UTF-16 units) or a letter with a combining
    // accent counts once and is never split.
    QString emoji;
    for (int i = 0; i < 5000; ++i)
        emoji += QString::fromUtf8("\xF0\x9F\x98\x80");
    input.body = emoji;
    const QString joined = ReaderSizeEstimator::joinedText(input);
    EXPECT_EQ(joined.size(), 2 * 4096);
    EXPECT_TRUE(joined.back().isLowSurrogate());

    input.body = QString(4095, QLatin1Char('a')) + QString::fromUtf8("e\xCC\x81") + QStringLiteral("zzz");
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input), QString(4095, QLatin1Char('a')) + QString::fromUtf8("e\xCC\x81"));
}

TEST(ReaderSizeEstimator, AttachmentBlocksAreNeverMeasured)
{
    // 10,000 characters with a files fence right after character 3000: only the first 3000 count.
    const QString head = lines(50, 59) + QLatin1Char('\n');
    ASSERT_EQ(head.size(), 3000);
    QString body = head + QStringLiteral("```tandrel-files-v1\n[]\n```\n");
    body += QString(10000 - body.size(), QLatin1Char('z'));
    ASSERT_EQ(body.size(), 10000);

    FakeTextMeasurer measurer;
    ReaderSizeEstimator::measureReaderSize(message(body), measurer);
    ASSERT_FALSE(measurer.measuredBodies.isEmpty());
    for (const QString &measured : measurer.measuredBodies)
        EXPECT_EQ(measured, head + QLatin1Char('\n'));
    EXPECT_EQ(measurer.measuredLines, head.split(QLatin1Char('\n'), Qt::SkipEmptyParts));

    // The earliest of a files or photos fence wins, in every text on its own.
    ReaderSizeEstimator::Input input = message(QStringLiteral("text") + photosFence + filesFence);
    input.memberBodies = {QStringLiteral("member") + filesFence + QStringLiteral("after") + photosFence,
                          filesFence.mid(2)};
    input.replyBodies = {QStringLiteral("reply")};
    EXPECT_EQ(ReaderSizeEstimator::joinedText(input), QStringLiteral("text\n\n\nmember\n\n\n\nreply\n"));
}
