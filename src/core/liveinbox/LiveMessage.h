#pragma once

#include "VisualizationFile.h"

#include <QVarLengthArray>
#include <QtGlobal>

#include <optional>
#include <string_view>
#include <vector>

// One message of a snapshot. Its texts are UTF-8 views into the storage of the LiveSnapshot it was
// decoded from (or into string literals in tests); they stay valid while that storage lives.
struct LiveMessage
{
    std::string_view id;
    std::string_view messageId;
    std::string_view scopeId;
    std::string_view conversationId;
    std::string_view senderId;
    std::string_view sender;
    std::string_view subject;
    std::string_view body;
    std::vector<VisualizationFile> files; // absent, null and [] all decode to empty
    QVarLengthArray<std::string_view, 2> categories; // almost always one: kept inline
    std::string_view kind;
    double createdAt = 0;
    bool unread = false;
    bool focused = false;
    qint64 focusIndex = 0;
    std::optional<std::string_view> replyTo;
    std::optional<std::string_view> conversationTitle;

    friend bool operator==(const LiveMessage &, const LiveMessage &) = default;
};
