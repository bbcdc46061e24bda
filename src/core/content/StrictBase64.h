#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Standard Base64 (RFC 4648 alphabet with "+" and "/") exactly as written: the length is a multiple of
// four, "=" appears only as one or two final padding characters, and nothing else is allowed — no white
// space, no line breaks, no URL-safe alphabet.
class StrictBase64
{
public:
    // The decoded bytes, or nothing if `text` is not strict Base64 or would decode to more than
    // `maximumSize` bytes (checked before decoding).
    static std::optional<QByteArray> decode(QByteArrayView text, qsizetype maximumSize = -1);

    // The number of bytes `text` decodes to, judged from its length and padding only.
    static qsizetype decodedSize(QByteArrayView text);
};
