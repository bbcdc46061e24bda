#pragma once

#include "liveinbox/VisualizationFile.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// What an HTML attachment becomes before a web view shows it, and how its file is saved.
class VisualizationDocument
{
public:
    // The content security policy that locks the document down: inline scripts and styles run, images and
    // fonts come only from data: URLs, and nothing is fetched, framed, embedded or submitted.
    static inline const QString policy = QStringLiteral(
        "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src data:; "
        "font-src data:; connect-src 'none'; frame-src 'none'; object-src 'none'; base-uri 'none'; "
        "form-action 'none'");

    // The policy's meta element first, then the attachment exactly as sent: the policy then covers all of it.
    static QString wrap(const QString &html);

    // Writes the file's bytes (decoded from strict Base64) to `path`, replacing what is there. Returns the
    // one-line error to show when that failed.
    static std::optional<QString> save(const VisualizationFile &file, const QString &path);
    static QString saveFailedText()
    {
        return QCoreApplication::translate("VisualizationDocument", "Could not save the file.");
    }
};
