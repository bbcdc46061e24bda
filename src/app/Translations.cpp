#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace {

const QString catalogueName = QStringLiteral("tandrel-notch");
const QString builtIn = QStringLiteral(":/i18n");

} // namespace

QStringList Translations::defaultDirectories()
{
    QStringList directories = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                        QStringLiteral("tandrel-notch/translations"),
                                                        QStandardPaths::LocateDirectory);
    const QString beside = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/../share/tandrel-notch/translations"));
    if (!directories.contains(beside) && QDir(beside).exists())
        directories << beside;
    directories << builtIn;
    return directories;
}

Translations::Translations() = default;

Translations::~Translations()
{
    remove();
}

void Translations::install(const QLocale &locale, const QStringList &directories)
{
    remove();
    // Searched in the reverse order of installation: the application's own language first, then its
    // English plural forms, then Qt's (dialog buttons, the command-line parser's messages).
    load(locale, QStringLiteral("qt"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    load(QLocale(QLocale::English), catalogueName, directories);
    if (load(locale, catalogueName, directories))
        m_catalogue = m_installed.back()->filePath();
}

bool Translations::load(const QLocale &locale, const QString &name, const QStringList &directories)
{
    for (const QString &directory : directories) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(locale, name, QStringLiteral("_"), directory))
            continue;
        if (!QCoreApplication::installTranslator(translator.get()))
            return false;
        m_installed.push_back(std::move(translator));
        return true;
    }
    return false;
}

void Translations::remove()
{
    for (const std::unique_ptr<QTranslator> &translator : m_installed)
        QCoreApplication::removeTranslator(translator.get());
    m_installed.clear();
    m_catalogue.clear();
}
