#include "content/AttachmentFence.h"
#include "content/MessageContent.h"
#include "content/StrictBase64.h"

#include "FuzzChecks.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

// The attachment fence and the two strict checks behind it. The input is used three ways:
//  - as a whole message body, split at its files fence: the text is a prefix of the body, files appear only
//    for a body that ends with the closing marker, and never more than the limit;
//  - as Base64 text, against a plain reference decoder written here (standard alphabet, padded to a multiple
//    of four, padding only at the end, nothing else);
//  - as raw bytes, wrapped into an HTML file: it must be usable exactly when the bytes are valid UTF-8, and
//    then it reads back as those bytes.

namespace {

int sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

// Padding bits that are not zero are accepted, as most decoders do; the reference follows suit.
std::optional<std::string> referenceBase64(std::string_view text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;
    std::string out;
    std::uint32_t bits = 0;
    int count = 0;
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        const int value = sextet(text[i]);
        if (value < 0)
            return std::nullopt;
        bits = bits << 6 | std::uint32_t(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(char((bits >> count) & 0xFF));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    // The fence.
    const QString body = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const AttachmentFence::Split split = AttachmentFence::split(body);
    require(body.startsWith(split.text));
    require(split.files.size() <= AttachmentFence::maximumFileCount);
    if (split.text.size() == body.size())
        require(split.files.empty());
    else
        require(body.endsWith(AttachmentFence::closingMarker) &&
                body.sliced(split.text.size()).startsWith(AttachmentFence::openingMarker));
    require(AttachmentFence::utf8Size(body) >= body.size());
    require(AttachmentFence::utf8Size(body) == body.toUtf8().size());
    for (const VisualizationFile &file : split.files) {
        const std::optional<QString> html = MessageContent::usableHtml(file);
        if (html)
            require(file.type == "text/html");
    }

    // Strict Base64.
    const std::optional<QByteArray> decoded = StrictBase64::decode(QByteArrayView(bytes.data(), qsizetype(size)));
    const std::optional<std::string> expected = referenceBase64(bytes);
    require(decoded.has_value() == expected.has_value());
    if (decoded) {
        require(std::string_view(decoded->constData(), std::size_t(decoded->size())) == *expected);
        require(StrictBase64::decodedSize(QByteArrayView(bytes.data(), qsizetype(size))) == decoded->size());
        // The size limit is checked before decoding and is exact.
        require(StrictBase64::decode(QByteArrayView(bytes.data(), qsizetype(size)), decoded->size()).has_value());
        if (decoded->size() > 0)
            require(!StrictBase64::decode(QByteArrayView(bytes.data(), qsizetype(size)), decoded->size() - 1));
    }

    // Strict UTF-8, through an HTML attachment.
    const QByteArray raw(bytes.data(), qsizetype(size));
    const QByteArray encoded = raw.toBase64();
    VisualizationFile file{"f.html", "text/html", std::string(encoded.constData(), std::size_t(encoded.size()))};
    const std::optional<QString> html = MessageContent::usableHtml(file);
    require(html.has_value() == validUtf8(bytes));
    if (html)
        require(html->toUtf8() == raw);
    return 0;
}
