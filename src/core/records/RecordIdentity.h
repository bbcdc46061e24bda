#pragma once

#include <QUuid>

#include <string_view>

// The local identity of a service record.
class RecordIdentity
{
public:
    // The first 16 bytes of the SHA-256 of the record id's UTF-8 bytes, used unchanged as the UUID's
    // bytes (no version or variant bits are set), so a record keeps its identity across runs.
    static QUuid localID(std::string_view recordID);
};
