#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// The XDG autostart entry that starts the application at login: `<directory>/<app id>.desktop`, where the
// directory is normally `$XDG_CONFIG_HOME/autostart`. Present (and not hidden) means on. Writes replace the
// file atomically; nothing is cached, so the answer always follows the file system.
class AutostartEntry final
{
    Q_DECLARE_TR_FUNCTIONS(AutostartEntry)
public:
    // `command` is the program and its arguments, as the Exec line runs them.
    AutostartEntry(QString directory, QStringList command);

    // `$XDG_CONFIG_HOME/autostart`, or `~/.config/autostart` when the variable is unset or not absolute.
    static QString defaultDirectory();

    QString filePath() const;
    const QStringList &command() const { return m_command; }
    // Whether an entry starts the application at login: the file exists and does not say `Hidden=true`.
    bool enabled() const;
    // Writes (on) or removes (off) the entry. Returns a one-line error when that failed.
    std::optional<QString> setEnabled(bool on) const;

    // The entry's text for a command.
    static QByteArray entryText(const QStringList &command);
    // A desktop-entry Exec value: each argument quoted where needed, reserved characters escaped.
    static QString execLine(const QStringList &command);

private:
    std::optional<QString> write() const;
    std::optional<QString> remove() const;

    QString m_directory;
    QStringList m_command;
};
