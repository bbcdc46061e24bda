#pragma once

#include <QString>

// One user-facing failure: an error domain, a numeric code and the one line shown to the user.
struct Failure
{
    QString domain;
    qint64 code = 0;
    QString description;

    // Errors the application raises itself.
    static inline const QString tandrelDomain = QStringLiteral("Tandrel");
    // Errors of the JSON decoder.
    static inline const QString jsonDomain = QStringLiteral("JSON");
    // Errors of the operating system (files, directories, processes).
    static inline const QString systemDomain = QStringLiteral("System");
    // Errors about sync-socket addresses and responses.
    static inline const QString urlDomain = QStringLiteral("URL");

    // URL error codes (values as the platform's URL loading system numbers them).
    enum UrlCode : qint64 {
        badServerResponse = -1011,
        unsupportedURL = -1002,
        cannotParseResponse = -1017,
        networkConnectionLost = -1005,
        timedOut = -1001,
    };

    static Failure tandrel(qint64 code, const QString &description) { return {tandrelDomain, code, description}; }
    static Failure json(const QString &description) { return {jsonDomain, 1, description}; }
    static Failure system(qint64 code, const QString &description) { return {systemDomain, code, description}; }
    static Failure url(UrlCode code, const QString &description) { return {urlDomain, code, description}; }

    friend bool operator==(const Failure &, const Failure &) = default;
};
