#include "StrictBase64.h"

namespace {

bool isAlphabet(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

} // namespace

qsizetype StrictBase64::decodedSize(QByteArrayView text)
{
    const qsizetype size = text.size();
    qsizetype padding = 0;
    if (size >= 1 && text[size - 1] == '=')
        ++padding;
    if (size >= 2 && text[size - 2] == '=')
        ++padding;
    return size / 4 * 3 - padding;
}

std::optional<QByteArray> StrictBase64::decode(QByteArrayView text, qsizetype maximumSize)
{
    const qsizetype size = text.size();
    if (size % 4 != 0)
        return std::nullopt;
    if (maximumSize >= 0 && decodedSize(text) > maximumSize)
        return std::nullopt;
    qsizetype padding = 0;
    if (size >= 1 && text[size - 1] == '=')
        padding = (size >= 2 && text[size - 2] == '=') ? 2 : 1;
    const char *data = text.data();
    for (qsizetype i = 0; i < size - padding; ++i) {
        if (!isAlphabet(data[i]))
            return std::nullopt;
    }
    auto result = QByteArray::fromBase64Encoding(QByteArray::fromRawData(data, size),
                                                  QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return std::move(*result);
}
