#include "AttachmentFence.h"

#include "liveinbox/WireDecoder.h"

qsizetype AttachmentFence::utf8Size(QStringView text)
{
    qsizetype size = 0;
    const qsizetype n = text.size();
    const QChar *data = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c < 0x80) {
            size += 1;
        } else if (c < 0x800) {
            size += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(data[i + 1].unicode())) {
            size += 4;
            ++i;
        } else {
            size += 3;
        }
    }
    return size;
}

AttachmentFence::Split AttachmentFence::split(const QString &text)
{
    if (!text.endsWith(closingMarker))
        return {text, {}};
    const qsizetype marker = text.indexOf(openingMarker);
    if (marker < 0 || utf8Size(text) > maximumBodySize)
        return {text, {}};

    Split result{text.first(marker), {}};
    // When the closing backticks share the marker's last line end, the JSON is empty (and invalid).
    const qsizetype jsonFrom = marker + openingMarker.size();
    const qsizetype jsonTo = std::max(jsonFrom, text.size() - closingMarker.size());
    const QByteArray json = QStringView(text).sliced(jsonFrom, jsonTo - jsonFrom).toUtf8();
    Result<std::vector<VisualizationFile>> files = WireDecoder::visualizationFiles(std::string_view(json.constData(), std::size_t(json.size())));
    if (files.ok() && files.value().size() <= maximumFileCount)
        result.files = std::move(files).value();
    return result;
}
