#include "content/MessageMarkdown.h"

#include <gtest/gtest.h>

using Block = MessageMarkdown::Block;
using Kind = MessageMarkdown::Block::Kind;

namespace {

Block paragraph(const QString &text) { return {Kind::paragraph, QString(), text}; }
Block heading(const QString &text) { return {Kind::heading, QString(), text}; }
Block item(const QString &marker, const QString &text) { return {Kind::item, marker, text}; }
Block quote(const QString &text) { return {Kind::quote, QString(), text}; }
Block code(const QString &text) { return {Kind::code, QString(), text}; }

std::vector<Block> blocks(const QString &text) { return MessageMarkdown::blocks(text); }

} // namespace

void PrintTo(const Block &block, std::ostream *os)
{
    *os << "{" << int(block.kind) << ", \"" << block.marker.toStdString() << "\", \"" << block.text.toStdString() << "\"}";
}

TEST(MessageMarkdownBlocks, HeadingsNeedOneToSixHashesAndASpace)
{
    EXPECT_EQ(blocks(QStringLiteral("## word")), std::vector{heading(QStringLiteral("word"))});
    EXPECT_EQ(blocks(QStringLiteral("#word")), std::vector{paragraph(QStringLiteral("#word"))});
    EXPECT_EQ(blocks(QStringLiteral("####### seven")), std::vector{paragraph(QStringLiteral("####### seven"))});
    EXPECT_EQ(blocks(QStringLiteral("###### six")), std::vector{heading(QStringLiteral("six"))});
    // All spaces after the hashes go; the line is trimmed of tabs and Unicode spaces first.
    EXPECT_EQ(blocks(QStringLiteral("\u00A0\t#   spaced  out \u3000")), std::vector{heading(QStringLiteral("spaced  out"))});
    EXPECT_EQ(blocks(QStringLiteral("##")), std::vector{paragraph(QStringLiteral("##"))});
}

TEST(MessageMarkdownBlocks, ItemsShowABulletOrTheirNumberAndDoNotNest)
{
    EXPECT_EQ(blocks(QStringLiteral("- one\n* two\n+ three")),
              (std::vector{item(QStringLiteral("•"), QStringLiteral("one")), item(QStringLiteral("•"), QStringLiteral("two")),
                           item(QStringLiteral("•"), QStringLiteral("three"))}));
    EXPECT_EQ(blocks(QStringLiteral("3) third\n12. twelfth")),
              (std::vector{item(QStringLiteral("3)"), QStringLiteral("third")), item(QStringLiteral("12."), QStringLiteral("twelfth"))}));
    EXPECT_EQ(blocks(QStringLiteral("    - indented")), std::vector{item(QStringLiteral("•"), QStringLiteral("indented"))});
    // Only the first space after the marker belongs to it.
    EXPECT_EQ(blocks(QStringLiteral("-  two spaces")), std::vector{item(QStringLiteral("•"), QStringLiteral(" two spaces"))});
    EXPECT_EQ(blocks(QStringLiteral("-word")), std::vector{paragraph(QStringLiteral("-word"))});
    EXPECT_EQ(blocks(QStringLiteral("1.5 litres")), std::vector{paragraph(QStringLiteral("1.5 litres"))});
    EXPECT_EQ(blocks(QStringLiteral("-")), std::vector{paragraph(QStringLiteral("-"))});
    // Digits are ASCII only.
    EXPECT_EQ(blocks(QStringLiteral("\u0663. x")), std::vector{paragraph(QStringLiteral("\u0663. x"))});
}

TEST(MessageMarkdownBlocks, ParagraphsJoinLinesUntrimmedAndBreakAtBlankLines)
{
    EXPECT_EQ(blocks(QStringLiteral("first\n  second")), std::vector{paragraph(QStringLiteral("first\n  second"))});
    EXPECT_EQ(blocks(QStringLiteral("first\n\nsecond")),
              (std::vector{paragraph(QStringLiteral("first")), paragraph(QStringLiteral("second"))}));
    // A line of tabs and Unicode spaces is blank.
    EXPECT_EQ(blocks(QStringLiteral("a\n \t\u00A0\u2007\u3000\nb")),
              (std::vector{paragraph(QStringLiteral("a")), paragraph(QStringLiteral("b"))}));
    EXPECT_EQ(blocks(QStringLiteral("text\n# head\nmore")),
              (std::vector{paragraph(QStringLiteral("text")), heading(QStringLiteral("head")), paragraph(QStringLiteral("more"))}));
    EXPECT_TRUE(blocks(QString()).empty());
    EXPECT_TRUE(blocks(QStringLiteral("\n \n")).empty());
}

TEST(MessageMarkdownBlocks, EveryLineSeparatorEndsALine)
{
    // CR LF is two line ends, so each line stands alone.
    EXPECT_EQ(blocks(QStringLiteral("one\r\ntwo\r\nthree")),
              (std::vector{paragraph(QStringLiteral("one")), paragraph(QStringLiteral("two")), paragraph(QStringLiteral("three"))}));
    for (const char16_t separator : {u'\n', u'\v', u'\f', u'\r', char16_t(0x85), char16_t(0x2028), char16_t(0x2029)}) {
        const QString text = QStringLiteral("a") + QChar(separator) + QStringLiteral("b");
        EXPECT_EQ(blocks(text), std::vector{paragraph(QStringLiteral("a\nb"))}) << int(separator);
    }
}

TEST(MessageMarkdownBlocks, QuotesAreOneBlockPerLine)
{
    EXPECT_EQ(blocks(QStringLiteral("> one\n> two")), (std::vector{quote(QStringLiteral("one")), quote(QStringLiteral("two"))}));
    EXPECT_EQ(blocks(QStringLiteral(">tight")), std::vector{paragraph(QStringLiteral(">tight"))});
    EXPECT_EQ(blocks(QStringLiteral(">  two")), std::vector{quote(QStringLiteral(" two"))});
}

TEST(MessageMarkdownBlocks, FencedCodeKeepsItsLinesAndRunsToTheEndWhenUnclosed)
{
    EXPECT_EQ(blocks(QStringLiteral("before\n```swift\n  let a = 1\n\nlet b = 2\n```\nafter")),
              (std::vector{paragraph(QStringLiteral("before")), code(QStringLiteral("  let a = 1\n\nlet b = 2")),
                           paragraph(QStringLiteral("after"))}));
    EXPECT_EQ(blocks(QStringLiteral("```\n# not a heading\n\n- not an item")),
              std::vector{code(QStringLiteral("# not a heading\n\n- not an item"))});
    EXPECT_EQ(blocks(QStringLiteral("```\n```")), std::vector{code(QString())});
    // The photos fence is no attachment here: an ordinary code block.
    EXPECT_EQ(blocks(QStringLiteral("Look\n\n```tandrel-photos-v1\n[{\"id\":\"p1\"}]\n```")),
              (std::vector{paragraph(QStringLiteral("Look")), code(QStringLiteral("[{\"id\":\"p1\"}]"))}));
}

namespace {

QString linkOf(const StyledText &text)
{
    for (const auto &span : text.spans()) {
        if (span.style == StyledText::Style::link)
            return span.url;
    }
    return QStringLiteral("<none>");
}

} // namespace

TEST(MessageMarkdownInline, KeepsOnlyWebAndMailLinksWhateverTheirCase)
{
    for (const QString &url : {QStringLiteral("https://example.com/a?b=c"), QStringLiteral("http://example.com"),
                              QStringLiteral("mailto:nora@example.com"), QStringLiteral("HTTPS://EXAMPLE.COM"),
                              QStringLiteral("MailTo:nora@example.com"), QStringLiteral("hTtP://x")}) {
        const StyledText text = MessageMarkdown::inlineText(QStringLiteral("see [here](%1)").arg(url));
        EXPECT_EQ(linkOf(text), url);
        EXPECT_EQ(text.text(), QStringLiteral("see here"));
    }
    for (const QString &url :
         {QStringLiteral("javascript:alert(1)"), QStringLiteral("JavaScript:alert(1)"), QStringLiteral("file:///etc/passwd"),
          QStringLiteral("data:text/html;base64,PHNjcmlwdD4="), QStringLiteral("vbscript:x"), QStringLiteral("/relative"),
          QStringLiteral("#fragment"), QStringLiteral("<>"), QStringLiteral("<%20https://x>"), QStringLiteral("https"),
          QStringLiteral("&#106;avascript:alert(1)"), QStringLiteral("java\\script:x"), QStringLiteral("ftp://x")}) {
        const StyledText text = MessageMarkdown::inlineText(QStringLiteral("see [here](%1)").arg(url));
        EXPECT_EQ(linkOf(text), QStringLiteral("<none>")) << url.toStdString();
        EXPECT_EQ(text.text(), QStringLiteral("see here")) << url.toStdString();
    }
    // Autolinks pass the same filter.
    EXPECT_EQ(linkOf(MessageMarkdown::inlineText(QStringLiteral("<javascript:alert(1)>"))), QStringLiteral("<none>"));
    EXPECT_EQ(linkOf(MessageMarkdown::inlineText(QStringLiteral("<nora@example.com>"))), QStringLiteral("mailto:nora@example.com"));
}

TEST(MessageMarkdownInline, ARemovedLinkLeavesItsStylingInPlace)
{
    const StyledText text = MessageMarkdown::inlineText(QStringLiteral("*a [**b** `c`](file:x) [d](https://d)*"));
    EXPECT_EQ(text.text(), QStringLiteral("a b c d"));
    ASSERT_EQ(text.spans().size(), 4u);
    EXPECT_EQ(text.spans()[0].style, StyledText::Style::emphasis);
    EXPECT_EQ(text.spans()[1].style, StyledText::Style::strong);
    EXPECT_EQ(text.spans()[1].depth, 1); // was 2 inside the removed link
    EXPECT_EQ(text.spans()[2].style, StyledText::Style::code);
    EXPECT_EQ(text.spans()[2].depth, 1);
    EXPECT_EQ(text.spans()[3].style, StyledText::Style::link);
    EXPECT_EQ(text.spans()[3].url, QStringLiteral("https://d"));
    EXPECT_EQ(text.spans()[3].depth, 1);
}

TEST(MessageMarkdownInline, LinkSchemes)
{
    EXPECT_EQ(MessageMarkdown::linkScheme(u"HTTPS://x"), QStringLiteral("https"));
    EXPECT_EQ(MessageMarkdown::linkScheme(u"web+app.v-2:x"), QStringLiteral("web+app.v-2"));
    EXPECT_EQ(MessageMarkdown::linkScheme(u"/a:b"), QString());
    EXPECT_EQ(MessageMarkdown::linkScheme(u" https://x"), QString());
    EXPECT_EQ(MessageMarkdown::linkScheme(u"2x:y"), QString());
    EXPECT_EQ(MessageMarkdown::linkScheme(u""), QString());
}
