#include "AutostartEntry.h"

#include "AppIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

AutostartEntry::AutostartEntry(QString directory, QStringList command)
    : m_directory(std::move(directory)), m_command(std::move(command))
{
}

QString AutostartEntry::defaultDirectory()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

QString AutostartEntry::filePath() const
{
    return m_directory + QLatin1Char('/') + QLatin1String(kTandrelAppId) + QStringLiteral(".desktop");
}

bool AutostartEntry::enabled() const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A desktop that turns an entry off without deleting it marks it hidden.
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (const qsizetype equals = line.indexOf('='); inMainGroup && equals > 0 &&
                 line.left(equals).trimmed() == "Hidden" && line.mid(equals + 1).trimmed() == "true")
            return false;
    }
    return true;
}

std::optional<QString> AutostartEntry::setEnabled(bool on) const
{
    return on ? write() : remove();
}

std::optional<QString> AutostartEntry::write() const
{
    const auto failure = [](const QString &reason) {
        return tr("Could not turn on Start at login: %1.").arg(reason);
    };
    if (!QDir().mkpath(m_directory))
        return failure(tr("cannot create the folder %1").arg(m_directory));
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return failure(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
    file.write(entryText(m_command));
    if (!file.commit())
        return failure(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
    return std::nullopt;
}

std::optional<QString> AutostartEntry::remove() const
{
    QFile file(filePath());
    if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink())
        return std::nullopt;
    if (!file.remove())
        return tr("Could not turn off Start at login: %1: %2.").arg(file.fileName(), file.errorString());
    return std::nullopt;
}

QByteArray AutostartEntry::entryText(const QStringList &command)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Tandrel Notch\n"
                                  "Comment=Starts the Tandrel inbox at login\n"
                                  "Exec=%1\n"
                                  "Icon=%2\n"
                                  "Terminal=false\n"
                                  "StartupNotify=false\n"
                                  "X-GNOME-Autostart-enabled=true\n")
                       .arg(execLine(command), QLatin1String(kTandrelAppId));
    return text.toUtf8();
}

QString AutostartEntry::execLine(const QStringList &command)
{
    // Desktop entries: arguments with reserved characters go in double quotes, inside which `"`, `` ` ``,
    // `$` and `\` take a backslash; a literal `%` is `%%`. The value itself then escapes each backslash again.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList quoted;
    for (const QString &argument : command) {
        QString value = argument;
        value.replace(QLatin1Char('%'), QStringLiteral("%%"));
        const bool needsQuotes =
            value.isEmpty() || std::any_of(value.cbegin(), value.cend(), [](QChar c) { return reserved.contains(c); });
        if (needsQuotes) {
            QString inner;
            for (const QChar c : std::as_const(value)) {
                if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                    inner += QLatin1Char('\\');
                inner += c;
            }
            value = QLatin1Char('"') + inner + QLatin1Char('"');
        }
        value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        value.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
        quoted.append(value);
    }
    return quoted.join(QLatin1Char(' '));
}
