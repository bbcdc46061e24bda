#include "content/MessageMarkdown.h"
#include "content/StyledText.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

// The views draw StyledText::toHtml() as Qt rich text; these tests load it into QTextDocument, the
// engine behind it, and check what comes out.

namespace {

struct Fragment
{
    QString text;
    QString href;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool code = false;
    bool image = false;
};

struct Rendered
{
    QString plain;
    std::vector<Fragment> fragments;
};

Rendered render(const StyledText &text)
{
    QTextDocument document;
    document.setHtml(text.toHtml());
    Rendered rendered;
    rendered.plain = document.toPlainText();
    for (QTextBlock block = document.begin(); block != document.end(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            Fragment fragment;
            fragment.text = it.fragment().text();
            fragment.href = format.anchorHref();
            fragment.bold = format.fontWeight() >= QFont::Bold;
            fragment.italic = format.fontItalic();
            fragment.strike = format.fontStrikeOut();
            fragment.code = format.fontFamilies().toStringList().contains(QStringLiteral("monospace"));
            fragment.image = format.isImageFormat();
            rendered.fragments.push_back(fragment);
        }
    }
    return rendered;
}

std::vector<QString> hrefs(const Rendered &rendered)
{
    std::vector<QString> out;
    for (const Fragment &fragment : rendered.fragments) {
        if (!fragment.href.isEmpty() && (out.empty() || out.back() != fragment.href))
            out.push_back(fragment.href);
    }
    return out;
}

} // namespace

TEST(StyledTextHtml, MessageTextCannotInjectMarkup)
{
    const QString hostile = QStringLiteral(
        "<script>alert(1)</script> <img src=x onerror=alert(1)> <a href=\"javascript:alert(1)\">x</a> "
        "&lt;b&gt; \"double\" 'single' <b>bold?</b> <style>*{color:red}</style>");
    const StyledText text = MessageMarkdown::inlineText(hostile);
    const QString html = text.toHtml();
    EXPECT_FALSE(html.contains(QStringLiteral("<script")));
    EXPECT_FALSE(html.contains(QStringLiteral("<img")));
    EXPECT_FALSE(html.contains(QStringLiteral("<style")));
    const Rendered rendered = render(text);
    // Everything shows as text ("&lt;b&gt;" is an entity reference in the source, so it reads "<b>").
    QString expected = hostile;
    expected.replace(QStringLiteral("&lt;b&gt;"), QStringLiteral("<b>"));
    EXPECT_EQ(rendered.plain, expected);
    for (const Fragment &fragment : rendered.fragments) {
        EXPECT_TRUE(fragment.href.isEmpty());
        EXPECT_FALSE(fragment.bold || fragment.image);
    }
}

TEST(StyledTextHtml, LinkAddressesCannotBreakOutOfTheirAttribute)
{
    const StyledText text = MessageMarkdown::inlineText(QStringLiteral(
        "[one](https://x/\"onmouseover=\"alert(1)) [two](<https://y/a b'c><d>) [three](https://z/&quot;&gt;<b>) "
        "[four](javascript:alert(1)) [five](JAVASCRIPT:alert(1)) [six](data:text/html,<script>x</script>)"));
    const Rendered rendered = render(text);
    EXPECT_EQ(hrefs(rendered), (std::vector<QString>{QStringLiteral("https://x/\"onmouseover=\"alert(1)"),
                                                     QStringLiteral("https://z/\"><b>")}));
    EXPECT_EQ(rendered.plain, QStringLiteral("one [two](<https://y/a b'c><d>) three four five six"));

    // Addresses of kept links with quotes, angle brackets and control characters come back exactly.
    const QString address = QStringLiteral("https://q/\"'<>&\u2028x");
    const StyledText quoted(QStringLiteral("q"), {StyledText::Span{StyledText::Style::link, 0, 1, 0, address, QString()}});
    EXPECT_FALSE(quoted.toHtml().contains(u'\u2028'));
    EXPECT_EQ(hrefs(render(quoted)), std::vector<QString>{address});
}

TEST(StyledTextHtml, KeepsWhiteSpaceAndLineBreaks)
{
    const QString source = QStringLiteral("a  b\n\tc\r\nd\u2028e   ");
    const Rendered rendered = render(MessageMarkdown::inlineText(source));
    EXPECT_EQ(rendered.plain, QStringLiteral("a  b\n\tc\nd\ne   "));
}

TEST(StyledTextHtml, DrawsEveryStyle)
{
    const Rendered rendered =
        render(MessageMarkdown::inlineText(QStringLiteral("*it* **bold** `<code>` ~~gone~~ [**link**](https://l) ![alt](https://i.png)")));
    EXPECT_EQ(rendered.plain, QStringLiteral("it bold <code> gone link alt"));
    auto find = [&](const QString &text) {
        for (const Fragment &fragment : rendered.fragments) {
            if (fragment.text == text)
                return fragment;
        }
        ADD_FAILURE() << "no fragment " << text.toStdString();
        return Fragment();
    };
    EXPECT_TRUE(find(QStringLiteral("it")).italic);
    EXPECT_TRUE(find(QStringLiteral("bold")).bold);
    EXPECT_TRUE(find(QStringLiteral("<code>")).code);
    EXPECT_TRUE(find(QStringLiteral("gone")).strike);
    const Fragment link = find(QStringLiteral("link"));
    EXPECT_TRUE(link.bold);
    EXPECT_EQ(link.href, QStringLiteral("https://l"));
    // Images are never loaded: their description shows as text.
    EXPECT_FALSE(find(QStringLiteral(" alt")).image);
}

TEST(StyledTextRuns, FlattenTheSpans)
{
    const StyledText text = MessageMarkdown::inlineText(QStringLiteral("a *b **c*** [d](https://d)[e](https://e) ~~`f`~~"));
    using Run = StyledText::Run;
    const std::vector<Run> expected{
        {0, 2, false, false, false, false, QString()},
        {2, 2, true, false, false, false, QString()},
        {4, 1, true, true, false, false, QString()},
        {5, 1, false, false, false, false, QString()},
        {6, 1, false, false, false, false, QStringLiteral("https://d")},
        {7, 1, false, false, false, false, QStringLiteral("https://e")}, // a second link stays a run of its own
        {8, 1, false, false, false, false, QString()},
        {9, 1, false, false, true, true, QString()},
    };
    EXPECT_EQ(text.runs(), expected);
    EXPECT_EQ(StyledText(QStringLiteral("plain")).runs(), (std::vector<Run>{{0, 5, false, false, false, false, QString()}}));
    EXPECT_TRUE(StyledText().runs().empty());
}

TEST(StyledTextHtml, LinksTakeTheTintAndOnlyLinks)
{
    const StyledText text =
        MessageMarkdown::inlineText(u"see [notes](https://tandrel.example/n) and [x](javascript:alert(1)) here");
    QTextDocument document;
    document.setHtml(text.toHtml(QStringLiteral("#f0b3c4")));
    int tinted = 0;
    for (QTextBlock block = document.begin(); block != document.end(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const bool link = !format.anchorHref().isEmpty();
            EXPECT_EQ(link, it.fragment().text() == QStringLiteral("notes")) << qPrintable(it.fragment().text());
            if (link) {
                EXPECT_EQ(format.foreground().color(), QColor(0xf0, 0xb3, 0xc4));
                ++tinted;
            } else {
                EXPECT_NE(format.foreground().color(), QColor(0xf0, 0xb3, 0xc4));
            }
        }
    }
    EXPECT_EQ(tinted, 1);
    // A colour cannot break out of its attribute either.
    EXPECT_FALSE(text.toHtml(QStringLiteral("red\"><script>")).contains(QStringLiteral("<script")));
}
