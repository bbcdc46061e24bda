#pragma once

#include <QLocale>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;

// The texts in the user's language: Qt's own catalogue and the application's, installed on the running
// application object for as long as this object lives. English is the source language; the English
// catalogue only carries the plural forms, and whatever a catalogue lacks stays English.
class Translations
{
public:
    // Where the application's catalogues ("tandrel-notch_<language>.qm") are looked for, first match wins:
    // tandrel-notch/translations below the user's and the system's data directories and below the share
    // directory beside the program, then the catalogues built into the program.
    static QStringList defaultDirectories();

    Translations();
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // Replaces what this object installed by the catalogues for `locale`. Needs an application object.
    void install(const QLocale &locale = QLocale(), const QStringList &directories = defaultDirectories());
    void remove();

    // The application catalogue loaded for the locale (the English one for English, empty when none).
    const QString &applicationCatalogue() const { return m_catalogue; }

private:
    bool load(const QLocale &locale, const QString &name, const QStringList &directories);

    std::vector<std::unique_ptr<QTranslator>> m_installed;
    QString m_catalogue;
};
