#include "content/InlineParser.h"

#include <gtest/gtest.h>

using Style = StyledText::Style;

namespace {

// "style[start,end)@depth" for every span, in order.
std::string describe(const StyledText &text)
{
    static const char *names[] = {"em", "strong", "code", "strike", "link", "image"};
    std::string out;
    for (const auto &span : text.spans()) {
        if (!out.empty())
            out += ' ';
        out += names[int(span.style)] + std::string("[") + std::to_string(span.start) + "," + std::to_string(span.end) +
               ")@" + std::to_string(span.depth);
    }
    return out;
}

} // namespace

TEST(InlineParser, KeepsEveryWhiteSpaceAndLineEndAsWritten)
{
    const QString source = QStringLiteral("  two  spaces\t tab  \n   indented\r\nnext\u2028line  ");
    const StyledText text = InlineParser::parse(source);
    EXPECT_EQ(text.text(), source);
    EXPECT_TRUE(text.spans().empty());
    // A backslash before a line end marks a hard break: the backslash goes, the line end stays.
    EXPECT_EQ(InlineParser::parse(u"one\\\ntwo\\\r\nthree\\").text(), QStringLiteral("one\ntwo\r\nthree\\"));
    // Inside code spans, line ends stay too; one space or line end is stripped from each side.
    const StyledText code = InlineParser::parse(u"`` a\nb ``|`\nc\n`|` `");
    EXPECT_EQ(code.text(), QStringLiteral("a\nb|c| "));
    EXPECT_EQ(describe(code), "code[0,3)@0 code[4,5)@0 code[6,7)@0");
}

TEST(InlineParser, BuildsNestedSpans)
{
    const StyledText text = InlineParser::parse(u"***both*** and **bold *both* bold** `*code*`");
    EXPECT_EQ(text.text(), QStringLiteral("both and bold both bold *code*"));
    EXPECT_EQ(describe(text), "em[0,4)@0 strong[0,4)@1 strong[9,23)@0 em[14,18)@1 code[24,30)@0");

    const StyledText link = InlineParser::parse(u"[a *b* ![c `d`](i.png \"t\")](https://x \"T\")");
    EXPECT_EQ(link.text(), QStringLiteral("a b c d"));
    EXPECT_EQ(describe(link), "link[0,7)@0 em[2,3)@1 image[4,7)@1 code[6,7)@2");
    EXPECT_EQ(link.spans()[0].url, QStringLiteral("https://x"));
    EXPECT_EQ(link.spans()[0].title, QStringLiteral("T"));
    EXPECT_EQ(link.spans()[2].url, QStringLiteral("i.png"));
}

TEST(InlineParser, StrikesThroughWithDoubleTildesOnly)
{
    EXPECT_EQ(describe(InlineParser::parse(u"~~gone~~ and **~~both~~**")), "strike[0,4)@0 strong[9,13)@0 strike[9,13)@1");
    EXPECT_EQ(InlineParser::parse(u"~~gone~~").text(), QStringLiteral("gone"));
    for (const char16_t *literal : {u"~one~", u"~~~three~~~", u"~~ spaced ~~", u"~~open"}) {
        const StyledText text = InlineParser::parse(literal);
        EXPECT_EQ(text.text(), QString::fromUtf16(literal));
        EXPECT_TRUE(text.spans().empty());
    }
}

TEST(InlineParser, ResolvesEscapesAndReferencesEverywhereButInCode)
{
    EXPECT_EQ(InlineParser::parse(u"\\*a\\* &amp; &copy; &#35; &#x1F600; &#0; &bogus; `&amp;`").text(),
              QStringLiteral("*a* & © # \U0001F600 \uFFFD &bogus; &amp;"));
    const StyledText link = InlineParser::parse(u"[x](https://a/&quot;\\)q \"t&amp;\\\"\")");
    ASSERT_EQ(link.spans().size(), 1u);
    EXPECT_EQ(link.spans()[0].url, QStringLiteral("https://a/\")q"));
    EXPECT_EQ(link.spans()[0].title, QStringLiteral("t&\""));
}

TEST(InlineParser, ReplacesNulCharacters)
{
    const QString source = QStringLiteral("a") + QChar(0) + QStringLiteral("`") + QChar(0) + QStringLiteral("`");
    EXPECT_EQ(InlineParser::parse(source).text(), QStringLiteral("a\uFFFD\uFFFD"));
}

TEST(InlineParser, UnmatchedSyntaxStaysText)
{
    for (const char16_t *source : {u"[a](b", u"[a] (b)", u"*a", u"a**", u"`a", u"<https://x", u"![a]", u"[a](<b)c>",
                                    u"[a](b \"c)", u"_a*", u"&#12345678;", u"\\"}) {
        const StyledText text = InlineParser::parse(source);
        EXPECT_EQ(text.text(), QString::fromUtf16(source));
        EXPECT_TRUE(text.spans().empty()) << QString::fromUtf16(source).toStdString();
    }
}

TEST(InlineParser, LinksDoNotNestAndParenthesesNestOnlySoDeep)
{
    EXPECT_EQ(describe(InlineParser::parse(u"[a [b](u) c](v)")), "link[3,4)@0");
    // Autolinks are links too: the one inside the brackets is kept, the brackets stay text.
    const StyledText mail = InlineParser::parse(u"[a <me@x.example> c](https://v.example)");
    EXPECT_EQ(describe(mail), "link[3,15)@0");
    EXPECT_EQ(mail.spans().front().url, QStringLiteral("mailto:me@x.example"));
    EXPECT_EQ(mail.text(), QStringLiteral("[a me@x.example c](https://v.example)"));
    EXPECT_EQ(describe(InlineParser::parse(u"[<https://a.example>](v)")), "link[1,18)@0");
    // An image may hold a link in its description, but then no link may hold that image.
    EXPECT_EQ(describe(InlineParser::parse(u"[![<https://a.example>](i)](v)")), "image[1,18)@0 link[1,18)@1");
    const QString deep = QStringLiteral("[a](") + QString(32, u'(') + QString(33, u')');
    EXPECT_EQ(describe(InlineParser::parse(deep)), "link[0,1)@0");
    const QString tooDeep = QStringLiteral("[a](") + QString(33, u'(') + QString(34, u')');
    EXPECT_TRUE(InlineParser::parse(tooDeep).spans().empty());
}

TEST(InlineParser, SurvivesVeryDeepNestingAndLongRuns)
{
    constexpr int depth = 50000;
    QString nested;
    for (int i = 0; i < depth; ++i)
        nested += QStringLiteral("*a ");
    nested += u'b';
    for (int i = 0; i < depth; ++i)
        nested += QStringLiteral(" a*");
    const StyledText text = InlineParser::parse(nested);
    ASSERT_EQ(text.spans().size(), std::size_t(depth));
    EXPECT_EQ(text.spans().back().depth, depth - 1);
    EXPECT_FALSE(text.toHtml().isEmpty());
    EXPECT_EQ(text.runs().size(), 1u);

    QString brackets;
    for (int i = 0; i < depth; ++i)
        brackets += QStringLiteral("[![");
    brackets += u'x';
    for (int i = 0; i < depth; ++i)
        brackets += QStringLiteral("](u))](v)");
    // Every image forms; only the innermost link does, since links do not nest.
    const StyledText images = InlineParser::parse(brackets);
    EXPECT_EQ(images.spans().size(), std::size_t(depth + 1));
    EXPECT_EQ(std::count_if(images.spans().begin(), images.spans().end(),
                            [](const StyledText::Span &span) { return span.style == Style::link; }),
              1);
}
