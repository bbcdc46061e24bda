#pragma once

#include "StyledText.h"

#include <QString>
#include <QStringView>

#include <vector>

// The small Markdown dialect of message bodies: a line-based block splitter and the inline parser
// with its link filter.
class MessageMarkdown
{
public:
    // One block of a body, as plain strings.
    struct Block
    {
        enum class Kind { paragraph, heading, item, quote, code };

        Kind kind = Kind::paragraph;
        QString marker; // item only: "•" for "-", "*" and "+", otherwise the number and "." or ")"
        QString text;   // paragraph and code: lines joined with "\n"; heading, item, quote: the line's text

        friend bool operator==(const Block &, const Block &) = default;
    };

    // Splits text into blocks, line by line. Lines end at every line separator (LF, VT, FF, CR, NEL,
    // U+2028, U+2029; a CR LF pair is two line ends). Headings ("#" to "######" and a space), items ("-",
    // "*", "+" or a number with "." or ")", then a space), quotes ("> ") and fenced code ("```") are
    // recognised on the line trimmed of tabs and Unicode space separators; other lines gather into
    // paragraphs, untrimmed, until a blank line. Code keeps its lines untrimmed, blank ones included;
    // an unclosed fence runs to the end.
    static std::vector<Block> blocks(QStringView text);

    // Inline Markdown with only "https", "http" and "mailto" links kept (scheme compared in lower
    // case); every other link, relative ones included, becomes plain text.
    static StyledText inlineText(QStringView text);

    // The scheme of a URL in lower case ("" when it has none): letters, digits, "+", "-" and "."
    // starting with a letter, followed by ":".
    static QString linkScheme(QStringView url);
    static bool isKeptLink(QStringView url);
};
