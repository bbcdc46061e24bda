// The program as a newcomer first meets it: asked what it does, given a bad option, started where there is
// no display at all (DISPLAY unset, no platform chosen), and its manual page beside its --help.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct Ended
{
    int status = -1;
    QString out;
    QString err;
};

// The environment of a session without a display: no X, no Wayland, no platform chosen.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "LANGUAGE", "LC_ALL",
                             "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return environment;
}

Ended run(const QStringList &arguments, const QProcessEnvironment &environment = withoutDisplay())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TANDREL_NOTCH_PATH), arguments);
    if (!process.waitForStarted(30000) || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

// The long options named in a text ("--demo", "--notch-width"), and "-h".
QSet<QString> optionsIn(const QString &text)
{
    QSet<QString> options;
    const QRegularExpression option(QStringLiteral("(?<![\\w-])(--[a-z][a-z-]*[a-z]|-h)(?![\\w-])"));
    for (auto match = option.globalMatch(text); match.hasNext();)
        options.insert(match.next().captured(1));
    return options;
}

// An X display number with no server behind it.
QString absentDisplay()
{
    for (int number = 917;; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
}

const QString needsDisplay =
    QStringLiteral("tandrel-notch needs an X11 display; under Wayland it runs through XWayland. ");

TEST(CommandLine, HelpListsEveryOptionOnOneLineAndExitsZeroWithoutADisplay)
{
    const Ended help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, QString());
    EXPECT_TRUE(help.out.startsWith(QLatin1String("Usage: tandrel-notch [OPTION]...\n"))) << qPrintable(help.out);
    const QStringList lines = help.out.split(QLatin1Char('\n'));
    for (const char *option : {"--demo", "--visualization-demo", "--open", "--toggle", "--notify", "--screen=NAME",
                               "--notch-width=POINTS", "--notch-height=POINTS", "-h, --help", "--version"}) {
        const QString start = QStringLiteral("  ") + QLatin1String(option) + QLatin1Char(' ');
        const auto line = std::find_if(lines.cbegin(), lines.cend(), [&](const QString &l) { return l.startsWith(start); });
        ASSERT_NE(line, lines.cend()) << option;
        // The description follows on the same line, and the line fits a terminal.
        EXPECT_GT(line->simplified().size(), start.simplified().size() + 10) << option;
        EXPECT_LE(line->size(), 100) << qPrintable(*line);
    }
    EXPECT_EQ(run({QStringLiteral("-h")}).out, help.out);
}

TEST(CommandLine, VersionIsOneLineAndExitsZeroWithoutADisplay)
{
    const Ended version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("Tandrel Notch %1\n").arg(QStringLiteral(TANDREL_VERSION)));
    EXPECT_EQ(version.err, QString());
}

TEST(CommandLine, AnUnknownOptionOrABadValueIsOneLineNamingItAndExitsTwo)
{
    const QList<std::pair<QStringList, QString>> cases{
        {{QStringLiteral("--frobnicate")},
         QStringLiteral("tandrel-notch: There is no option --frobnicate; tandrel-notch --help lists the options.\n")},
        {{QStringLiteral("--demo"), QStringLiteral("--colour=red")},
         QStringLiteral("tandrel-notch: There is no option --colour; tandrel-notch --help lists the options.\n")},
        {{QStringLiteral("--notch-width=wide"), QStringLiteral("--notch-height=30")},
         QStringLiteral("tandrel-notch: --notch-width needs a positive number of points, not \"wide\".\n")},
        {{QStringLiteral("--screen")}, QStringLiteral("tandrel-notch: --screen needs a screen name: --screen=NAME.\n")},
        {{QStringLiteral("inbox")},
         QStringLiteral("tandrel-notch: Unexpected argument \"inbox\"; tandrel-notch --help lists the options.\n")},
    };
    for (const auto &[arguments, line] : cases) {
        const Ended bad = run(arguments);
        EXPECT_EQ(bad.status, 2) << qPrintable(arguments.join(u' '));
        EXPECT_EQ(bad.err, line);
        EXPECT_EQ(bad.out, QString());
    }
    // A flag given a value: Qt's own wording, one line.
    const Ended flagValue = run({QStringLiteral("--demo=yes")});
    EXPECT_EQ(flagValue.status, 2);
    EXPECT_EQ(flagValue.err.count(QLatin1Char('\n')), 1) << qPrintable(flagValue.err);
    EXPECT_TRUE(flagValue.err.contains(QLatin1String("--demo"))) << qPrintable(flagValue.err);
}

TEST(CommandLine, APlainStartWithoutADisplaySaysSoInOneLineAndExitsOne)
{
    for (const QStringList &arguments : {QStringList{}, QStringList{QStringLiteral("--demo")}, QStringList{QStringLiteral("--open")}}) {
        const Ended start = run(arguments);
        EXPECT_EQ(start.status, 1) << qPrintable(arguments.join(u' '));
        EXPECT_EQ(start.err, needsDisplay + QStringLiteral("DISPLAY is not set.\n"));
        EXPECT_EQ(start.out, QString());
    }
    // A display named but not there (no server, or one refusing the connection) is no abort either.
    const QString absent = absentDisplay();
    QProcessEnvironment environment = withoutDisplay();
    environment.insert(QStringLiteral("DISPLAY"), absent);
    const Ended refused = run({QStringLiteral("--demo")}, environment);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, needsDisplay + QStringLiteral("The display \"%1\" cannot be opened.\n").arg(absent));
    // Qt's own -display option names the display the same way.
    const Ended option = run({QStringLiteral("-display"), absent});
    EXPECT_EQ(option.status, 1);
    EXPECT_EQ(option.err, needsDisplay + QStringLiteral("The display \"%1\" cannot be opened.\n").arg(absent));
}

TEST(CommandLine, TheManualPageAndTheHelpNameTheSameOptions)
{
    QFile page(QStringLiteral(TANDREL_SOURCE_DIR) + QStringLiteral("/docs/tandrel-notch.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    // In roff a dash is written "\-"; comments are left out.
    QString text;
    for (const QString &line : QString::fromUtf8(page.readAll()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String(".\\\"")))
            text += line + QLatin1Char('\n');
    }
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    text.replace(QRegularExpression(QStringLiteral("\\\\f[BIRP]")), QString());
    const QSet<QString> manual = optionsIn(text);

    const Ended help = run({QStringLiteral("--help")});
    ASSERT_EQ(help.status, 0);
    const QSet<QString> listed = optionsIn(help.out);
    EXPECT_GE(listed.size(), 10);
    EXPECT_EQ(manual - listed, QSet<QString>()) << "in the manual page, not in --help";
    EXPECT_EQ(listed - manual, QSet<QString>()) << "in --help, not in the manual page";
}

} // namespace
