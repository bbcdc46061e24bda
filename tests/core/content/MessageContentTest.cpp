#include "content/AttachmentFence.h"
#include "content/MessageContent.h"
#include "content/StrictBase64.h"

#include <gtest/gtest.h>

namespace {

VisualizationFile htmlFile(const QByteArray &html, const std::string &name = "chart.html")
{
    return {name, "text/html", html.toBase64().toStdString()};
}

QString fenced(const QString &text, const std::string &json)
{
    return text + QStringLiteral("\n\n```tandrel-files-v1\n") + QString::fromStdString(json) + QStringLiteral("\n```");
}

QString fenced(const QString &text, const std::vector<VisualizationFile> &files)
{
    return fenced(text, VisualizationFile::encodeArray(files));
}

std::vector<QString> htmlOf(const MessageContent &content)
{
    std::vector<QString> out;
    for (const auto &attachment : content.attachments())
        out.push_back(attachment.html);
    return out;
}

} // namespace

TEST(AttachmentFence, SplitsTheFilesFromTheText)
{
    const std::vector<VisualizationFile> files{htmlFile("<p>a</p>"), {"notes.txt", "text/plain", "aGk="}};
    const AttachmentFence::Split split = AttachmentFence::split(fenced(QStringLiteral("Hello\n\nthere"), files));
    EXPECT_EQ(split.text, QStringLiteral("Hello\n\nthere"));
    EXPECT_EQ(split.files, files);

    const QString plain = QStringLiteral("No files here\n```\ncode\n```");
    EXPECT_EQ(AttachmentFence::split(plain).text, plain);
    EXPECT_TRUE(AttachmentFence::split(plain).files.empty());
}

TEST(AttachmentFence, ABrokenFenceIsHiddenButAnUnfinishedOneIsNot)
{
    // Invalid JSON, or a file without one of its keys: the text before the fence, no files.
    for (const std::string &json : {std::string("[{\"name\":\"a\""), std::string("[{\"name\":\"a\",\"type\":\"text/html\"}]"),
                                   std::string("{}"), std::string()}) {
        const AttachmentFence::Split split = AttachmentFence::split(fenced(QStringLiteral("Text"), json));
        EXPECT_EQ(split.text, QStringLiteral("Text")) << json;
        EXPECT_TRUE(split.files.empty()) << json;
    }
    // The body must end with the closing backticks; otherwise nothing is cut.
    const QString open = fenced(QStringLiteral("Text"), std::vector{htmlFile("x")}) + QStringLiteral(" ");
    EXPECT_EQ(AttachmentFence::split(open).text, open);
    // Closing backticks sharing the marker's line end leave no JSON at all.
    const QString collapsed = QStringLiteral("Text\n\n```tandrel-files-v1\n```");
    EXPECT_EQ(AttachmentFence::split(collapsed).text, QStringLiteral("Text"));
    EXPECT_TRUE(AttachmentFence::split(collapsed).files.empty());
    // The first marker counts, even when a later one would have given valid JSON.
    const QString twice = QStringLiteral("A\n\n```tandrel-files-v1\nB") + fenced(QString(), std::vector{htmlFile("x")});
    EXPECT_EQ(AttachmentFence::split(twice).text, QStringLiteral("A"));
    EXPECT_TRUE(AttachmentFence::split(twice).files.empty());
}

TEST(AttachmentFence, AcceptsAtMostSixFilesAndBodiesUpToTheSizeLimit)
{
    const std::vector<VisualizationFile> six(6, htmlFile("<b>x</b>"));
    EXPECT_EQ(AttachmentFence::split(fenced(QStringLiteral("t"), six)).files.size(), 6u);
    const std::vector<VisualizationFile> seven(7, htmlFile("<b>x</b>"));
    const AttachmentFence::Split split = AttachmentFence::split(fenced(QStringLiteral("t"), seven));
    EXPECT_EQ(split.text, QStringLiteral("t"));
    EXPECT_TRUE(split.files.empty());

    // The limit counts UTF-8 bytes: "é" is two.
    const QString tail = fenced(QString(), std::vector{htmlFile("x")});
    const qsizetype room = AttachmentFence::maximumBodySize - AttachmentFence::utf8Size(tail);
    const QString atLimit = QString(room, u'a') + tail;
    EXPECT_EQ(AttachmentFence::split(atLimit).files.size(), 1u);
    const QString overLimit = QString(room - 1, u'a') + QStringLiteral("é") + tail;
    EXPECT_EQ(AttachmentFence::utf8Size(overLimit), AttachmentFence::maximumBodySize + 1);
    EXPECT_EQ(AttachmentFence::split(overLimit).text, overLimit);
    EXPECT_TRUE(AttachmentFence::split(overLimit).files.empty());
}

TEST(AttachmentFence, CountsUtf8Bytes)
{
    EXPECT_EQ(AttachmentFence::utf8Size(u"a\u00E9\u20AC\U0001F600"), 1 + 2 + 3 + 4);
    EXPECT_EQ(AttachmentFence::utf8Size(QStringView(u"\xD800x")), 3 + 1); // an unpaired surrogate as U+FFFD
}

TEST(StrictBase64, AcceptsOnlyPaddedStandardBase64WithoutWhiteSpace)
{
    EXPECT_EQ(StrictBase64::decode("aGVsbG8="), std::optional<QByteArray>("hello"));
    EXPECT_EQ(StrictBase64::decode("aGk="), std::optional<QByteArray>("hi"));
    EXPECT_EQ(StrictBase64::decode("aGV5"), std::optional<QByteArray>("hey"));
    EXPECT_EQ(StrictBase64::decode(""), std::optional<QByteArray>(""));
    for (const char *bad : {"aGVsbG8", "aGV\nbG8=", "aGVs bG8", " aGk", "aGk=\r\n\r\n", "YWJj\r\nZGVm\r\nZ2hp", "aG=k", "a===",
                            "====", "-_-_", "aGk=aGk=", "aGk\t"}) {
        EXPECT_EQ(StrictBase64::decode(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(StrictBase64::decode("aGVsbG8=", 5), std::optional<QByteArray>("hello"));
    EXPECT_EQ(StrictBase64::decode("aGVsbG8=", 4), std::nullopt);
}

TEST(MessageContent, ABodyWithoutAFenceIsAllText)
{
    const MessageContent content(QStringLiteral("# Hi\n\nSee [this](https://x) and `code`\n- one\n> quoted\n```\nraw *text*\n```"));
    using Kind = MessageContent::Block::Kind;
    ASSERT_EQ(content.blocks().size(), 5u);
    EXPECT_EQ(content.blocks()[0].kind, Kind::heading);
    EXPECT_EQ(content.blocks()[0].text().text(), QStringLiteral("Hi"));
    EXPECT_EQ(content.blocks()[1].kind, Kind::paragraph);
    EXPECT_EQ(content.blocks()[1].text().text(), QStringLiteral("See this and code"));
    EXPECT_EQ(content.blocks()[1].text().spans().size(), 2u);
    EXPECT_EQ(content.blocks()[2].kind, Kind::item);
    EXPECT_EQ(content.blocks()[2].marker, QStringLiteral("•"));
    EXPECT_EQ(content.blocks()[2].text().text(), QStringLiteral("one"));
    EXPECT_EQ(content.blocks()[3].kind, Kind::quote);
    EXPECT_EQ(content.blocks()[3].text().text(), QStringLiteral("quoted"));
    EXPECT_EQ(content.blocks()[4].kind, Kind::code);
    EXPECT_EQ(content.blocks()[4].code, QStringLiteral("raw *text*"));
    EXPECT_TRUE(content.blocks()[4].text().text().isEmpty());
    EXPECT_TRUE(content.attachments().empty());
}

TEST(MessageContent, KeepsOnlyUsableHtmlFilesInOrder)
{
    const QByteArray sixMiB(6 * 1024 * 1024, 'a');
    const QByteArray limit(MessageContent::maximumAttachmentSize, 'b');
    std::vector<VisualizationFile> files{
        htmlFile("<p>first</p>", "1.html"),
        {"2.txt", "text/plain", QByteArray("plain").toBase64().toStdString()},
        {"3.html", "TEXT/HTML", QByteArray("<p>x</p>").toBase64().toStdString()},
        {"4.html", "text/html", "YWJj\r\nZGVm\r\nZ2hp"}, // line breaks inside
        htmlFile("\xFF\xFE<p>", "5.html"),                // not UTF-8
        htmlFile("<p>last</p>", "6.html"),
    };
    const QString body = fenced(QStringLiteral("Charts"), files);
    const MessageContent content(body);
    EXPECT_EQ(htmlOf(content), (std::vector<QString>{QStringLiteral("<p>first</p>"), QStringLiteral("<p>last</p>")}));
    ASSERT_EQ(content.attachments().size(), 2u);
    EXPECT_EQ(content.attachments()[0].file, files[0]);
    EXPECT_EQ(content.attachments()[1].file, files[5]);
    ASSERT_EQ(content.blocks().size(), 1u);
    EXPECT_EQ(content.blocks()[0].text().text(), QStringLiteral("Charts"));

    // Exactly 5 MiB is allowed; more is not. (A 6 MiB file never fits in a body short enough to be
    // searched for files, so it is checked on its own.)
    const MessageContent atLimit(fenced(QString(), std::vector{htmlFile(limit)}));
    ASSERT_EQ(atLimit.attachments().size(), 1u);
    EXPECT_EQ(atLimit.attachments()[0].html.size(), MessageContent::maximumAttachmentSize);
    const MessageContent overLimit(fenced(QString(), std::vector{htmlFile(limit + "b"), htmlFile("ok")}));
    EXPECT_EQ(htmlOf(overLimit), std::vector<QString>{QStringLiteral("ok")});
    EXPECT_EQ(MessageContent::usableHtml(htmlFile(sixMiB)), std::nullopt);
}

TEST(MessageContent, SixHtmlFilesGiveSixAttachmentsAndSevenGiveNone)
{
    std::vector<VisualizationFile> files;
    for (int i = 0; i < 7; ++i)
        files.push_back(htmlFile(QByteArray("<i>") + QByteArray::number(i) + "</i>"));
    EXPECT_TRUE(MessageContent(fenced(QStringLiteral("x"), files)).attachments().empty());
    files.pop_back();
    const MessageContent six(fenced(QStringLiteral("x"), files));
    EXPECT_EQ(six.attachments().size(), 6u);
    EXPECT_EQ(six.attachments()[5].html, QStringLiteral("<i>5</i>"));
}

TEST(MessageContent, RejectsMalformedUtf8)
{
    for (const QByteArray &bytes : {QByteArray("\xC0\xAF"), QByteArray("\xED\xA0\x80"), QByteArray("\xF4\x90\x80\x80"),
                                   QByteArray("ab\xE2\x82"), QByteArray("\x80"), QByteArray("\xF8\x88\x80\x80\x80")}) {
        EXPECT_EQ(MessageContent::usableHtml(htmlFile(bytes)), std::nullopt) << bytes.toHex().toStdString();
    }
    // Text comes back exactly as sent, a leading byte order mark included.
    EXPECT_EQ(MessageContent::usableHtml(htmlFile("\xEF\xBB\xBF<p>\xF0\x9F\x98\x80</p>")),
              std::optional<QString>(QStringLiteral("\uFEFF<p>\U0001F600</p>")));
}

TEST(MessageContent, CostCountsTheBodyFourTimesAndTheHtmlTwice)
{
    EXPECT_EQ(MessageContent(QStringLiteral("h\u00E9llo")).cost(), 4 * 6);
    const QString body = fenced(QStringLiteral("\u00E9"), std::vector{htmlFile("<p>\xC3\xA9</p>"), htmlFile("abc"),
                                                                  VisualizationFile{"x", "text/plain", "YQ=="}});
    const MessageContent content(body);
    EXPECT_EQ(content.cost(), 4 * AttachmentFence::utf8Size(body) + 2 * (9 + 3));
    EXPECT_EQ(MessageContent(QString()).cost(), 0);
}
