#pragma once

#include "LiveMessage.h"
#include "records/Message.h"

#include <QString>
#include <QUuid>

#include <string>
#include <string_view>

// The values derived from one service record: its local identity, the fence that carries its files
// inside the body, and the Message the panel shows. All of them depend on the record alone.
class RecordTextPool;

class LiveMessageConversion
{
public:
    // The record's local identity (RecordIdentity::localID of its id).
    static QUuid localID(const LiveMessage &record);

    // "\n\n```tandrel-files-v1\n" + the files as a JSON array + "\n```" (UTF-8); empty without files.
    static std::string attachmentEnvelope(const LiveMessage &record);

    static Message message(const LiveMessage &record);
    // The same, with the record's repeated texts taken from the snapshot's pool.
    static Message message(const LiveMessage &record, RecordTextPool &pool);

    // Whether `message(record)` would give `message`, field for field: what a record converts to, compared
    // without converting it.
    static bool convertsTo(const LiveMessage &record, const Message &message, RecordTextPool &pool);

    // The display name of a label slug: the four known slugs have fixed names; any other slug has its
    // hyphens turned into spaces and each space-separated word capitalised.
    static QString categoryName(std::string_view slug);

    // Up to two upper-case initials: the first user-perceived character of each of the first two pieces
    // of the name split at spaces and underscores.
    static QString initials(const QString &sender);
};
