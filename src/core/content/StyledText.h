#pragma once

#include <QString>

#include <functional>
#include <vector>

// Text with inline styling: a plain string plus properly nested spans (emphasis, strong emphasis,
// inline code, strikethrough, links, images). Spans are kept as a tree in pre-order so that
// nested styling survives exactly as it was written; `runs()` flattens it for drawing.
class StyledText
{
public:
    enum class Style : quint8 { emphasis, strong, code, strikethrough, link, image };

    struct Span
    {
        Style style = Style::emphasis;
        qsizetype start = 0; // UTF-16 offsets into text(), end exclusive
        qsizetype end = 0;
        int depth = 0;       // number of spans that enclose this one
        QString url;         // link and image only
        QString title;       // link and image only; may be empty

        friend bool operator==(const Span &, const Span &) = default;
    };

    // A maximal stretch of text with one set of attributes.
    struct Run
    {
        qsizetype start = 0;
        qsizetype length = 0;
        bool emphasis = false;
        bool strong = false;
        bool code = false;
        bool strikethrough = false;
        QString link; // the URL of the innermost enclosing link, or null

        friend bool operator==(const Run &, const Run &) = default;
    };

    StyledText() = default;
    // Unstyled text.
    explicit StyledText(QString text);
    // `spans` must be in pre-order: each span follows the span that encloses it, siblings in text order,
    // every span lies within the text and within its parent, and `depth` counts its ancestors.
    StyledText(QString text, std::vector<Span> spans);

    const QString &text() const { return m_text; }
    const std::vector<Span> &spans() const { return m_spans; }

    // Attribute runs covering the whole text, in order; runs with equal attributes are merged except
    // across the border of two different links. Images contribute their description text only.
    std::vector<Run> runs() const;

    // The same text without the link spans for which `keep` returns false; their text stays.
    StyledText keepingLinks(const std::function<bool(const QString &url)> &keep) const;

    // Rich text for the views: every character of the text is escaped, white space and line breaks
    // are kept (a pre-wrap span, line ends as <br>), styles become <i>, <b>, <code>, <s> and
    // <a href="...">. Images show their description text. Nothing in the text can add markup.
    // `linkColour` (a "#rrggbb" text), when given, tints every link.
    QString toHtml(const QString &linkColour = {}) const;

    friend bool operator==(const StyledText &, const StyledText &) = default;

private:
    QString m_text;
    std::vector<Span> m_spans;
};
