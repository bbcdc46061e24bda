#include "VisualizationDocument.h"

#include "StrictBase64.h"

#include <QSaveFile>

QString VisualizationDocument::wrap(const QString &html)
{
    return QStringLiteral("<!doctype html><meta http-equiv=\"Content-Security-Policy\" content=\"") + policy +
           QStringLiteral("\">") + html;
}

std::optional<QString> VisualizationDocument::save(const VisualizationFile &file, const QString &path)
{
    const std::optional<QByteArray> bytes =
        StrictBase64::decode(QByteArrayView(file.data.data(), qsizetype(file.data.size())));
    if (!bytes)
        return saveFailedText();
    // Written beside the target and renamed over it: a failed write never leaves half a file behind.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(*bytes) != bytes->size() || !out.commit())
        return saveFailedText();
    return std::nullopt;
}
