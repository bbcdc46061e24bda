#pragma once

#include "liveinbox/VisualizationFile.h"

#include <QString>
#include <QStringView>

#include <vector>

// The block at the end of a body that carries its attached files:
//
//     <text>\n\n```tandrel-files-v1\n<JSON array of files>\n```
class AttachmentFence
{
public:
    struct Split
    {
        QString text;                         // the body without the fence
        std::vector<VisualizationFile> files; // empty when there is no usable fence
    };

    static constexpr QStringView openingMarker = u"\n\n```tandrel-files-v1\n";
    static constexpr QStringView closingMarker = u"\n```";
    // Longer bodies (in UTF-8 bytes) are not searched for files.
    static constexpr qsizetype maximumBodySize = 7'023'276;
    // A fence with more files than this yields none of them.
    static constexpr std::size_t maximumFileCount = 6;

    // Separates the files fence from the text. Without a fence (no opening marker, the body does not end
    // with the closing marker, or it is too long) the text comes back unchanged. Otherwise the text
    // ends before the opening marker, and the files are those of the JSON between the markers — none if
    // that is not a valid array of files or holds too many.
    static Split split(const QString &text);

    // The length of text in UTF-8 bytes (an unpaired surrogate counts as U+FFFD would).
    static qsizetype utf8Size(QStringView text);
};
