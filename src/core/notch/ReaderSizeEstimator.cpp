#include "ReaderSizeEstimator.h"

#include "NotchGeometry.h"
#include "TextMeasurer.h"

#include <QStringView>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// UTF-16 length of the first `count` user-perceived characters of `text`, and how many there were.
struct Prefix
{
    qsizetype units = 0;
    qsizetype characters = 0;
};

Prefix prefixOf(const QString &text, qsizetype count)
{
    Prefix prefix;
    if (count <= 0 || text.isEmpty())
        return prefix;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (prefix.characters < count) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        prefix.units = next;
        ++prefix.characters;
    }
    return prefix;
}

// Position of the earliest files or photos attachment fence opening in `text`, or its length.
qsizetype attachmentFenceStart(QStringView text)
{
    static const QString files = QStringLiteral("```tandrel-files-v1");
    static const QString photos = QStringLiteral("```tandrel-photos-v1");
    qsizetype cut = text.size();
    for (const QString &marker : {files, photos}) {
        const qsizetype found = text.indexOf(marker);
        if (found >= 0)
            cut = std::min(cut, found);
    }
    return cut;
}

qsizetype characterCount(QStringView text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

} // namespace

QString ReaderSizeEstimator::joinedText(const Input &input)
{
    QString joined;
    qsizetype joinedCharacters = 0;
    const auto append = [&](const QString &text) {
        if (joinedCharacters > maximumMeasuredCharacters - 1)
            return false;
        const Prefix prefix = prefixOf(text, maximumMeasuredCharacters - joinedCharacters);
        const QStringView taken = QStringView(text).first(prefix.units);
        const qsizetype cut = attachmentFenceStart(taken);
        const QStringView piece = taken.first(cut);
        joined += piece;
        joinedCharacters += cut == taken.size() ? prefix.characters : characterCount(piece);
        if (joinedCharacters <= maximumMeasuredCharacters - 1) {
            joined += QLatin1Char('\n');
            ++joinedCharacters;
        }
        return true;
    };

    if (!append(input.body))
        return joined;
    for (const QString &body : input.memberBodies) {
        if (!append(body))
            return joined;
    }
    for (const QString &body : input.replyBodies) {
        if (!append(body))
            return joined;
    }
    return joined;
}

QSizeF ReaderSizeEstimator::measureReaderSize(const Input &input, const TextMeasurer &measurer)
{
    if (input.hasAttachment)
        return {attachmentWidth, attachmentHeight};

    const QString text = joinedText(input);

    double widest = -1;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        widest = std::max(widest, measurer.bodyLineWidth(line.toString()));
    const double width = widest < 0 ? minimumWidth : std::clamp(widest + textInset, minimumWidth, maximumWidth);

    const double chrome = input.live ? liveChrome : demoChrome;
    const double standardHeight = measurer.bodyHeight(text, NotchGeometry::listContentWidth - textInset)
                                  + measurer.subjectHeight(input.subject, NotchGeometry::listContentWidth) + chrome;
    if (standardHeight <= NotchGeometry::listContentHeight)
        return {NotchGeometry::listContentWidth, NotchGeometry::listContentHeight};

    const double height = measurer.bodyHeight(text, width - textInset) + measurer.subjectHeight(input.subject, width) + chrome;
    return {width, std::clamp(height, minimumHeight, maximumHeight)};
}
