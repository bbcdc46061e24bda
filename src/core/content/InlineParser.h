#pragma once

#include "StyledText.h"

#include <QStringView>

// Inline Markdown as CommonMark defines it (code spans, emphasis and strong emphasis, inline links and
// images, autolinks, backslash escapes, entity and numeric character references), plus strikethrough
// with double tildes. Differences from a full CommonMark renderer, all deliberate:
// - White space is kept exactly as written, including line ends and the spaces around them; a line
//   end is always a line break. A backslash directly before a line end (a hard break) is dropped, and
//   spaces before a line end stay as they are. Inside code spans, line ends also stay line ends.
// - No block syntax: the whole input is one run of inline content.
// - No link reference definitions, so only inline links, images and autolinks become links.
// - No raw HTML: tags stay literal text.
// - An autolink inside the text of an inline link is the one link kept, as a link inside a link would be:
//   the outer brackets stay text (a full renderer would nest one anchor in the other).
// - U+0000 becomes U+FFFD.
// Every input parses; the time taken grows linearly with the length of the input. Text longer than
// maximumLength is not parsed and comes back unstyled.
class InlineParser
{
public:
    static constexpr qsizetype maximumLength = qsizetype(1) << 30;

    static StyledText parse(QStringView text);
};
