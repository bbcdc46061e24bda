#pragma once

#include <QCoreApplication>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for, read by QCommandLineParser before any display is opened. Options take
// their value after "=" or as the next argument; Qt's own (-platform, -display and the like) are accepted
// and left to the application object.
//
//   --demo, --visualization-demo   the demo inbox, and its visualization sample
//   --open, --toggle               open (pinned) or toggle the running panel, starting one when none runs
//   --notify                       desktop notifications for messages that arrive while collapsed
//   --screen=NAME                  the screen to sit on, by its output name (default: the primary screen)
//   --notch-width=POINTS, --notch-height=POINTS
//                                  treat the screen as notched, the notch centred at the top (both or none)
//   -h, --help, --version          print the help or the version and end
struct LaunchOptions
{
    Q_DECLARE_TR_FUNCTIONS(LaunchOptions)
public:
    enum class Command
    {
        none,
        open,
        toggle,
    };

    bool demo = false;
    bool visualizationDemo = false;
    bool notify = false;
    bool help = false;
    bool version = false;
    Command command = Command::none;
    QString screenName;
    // Width and height of the notch, when given.
    std::optional<QSizeF> notch;
    // Qt's own -platform and -display values, when given.
    QString platform;
    QString display;
    // A one-line description of the first bad argument; empty when all is well.
    QString error;

    // `arguments` starts with the program name.
    static LaunchOptions parse(const QStringList &arguments);
    // What --help prints: a usage line, then every option on a line of its own.
    static QString helpText();
    // What --version prints.
    static QString versionText();

    // "demo" or "live".
    QString mode() const { return demo ? QStringLiteral("demo") : QStringLiteral("live"); }
    // The switches the application itself reads, as whole arguments after the program name.
    QStringList applicationArguments(const QString &program) const;
};
