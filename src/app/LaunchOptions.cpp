#include "LaunchOptions.h"

#include <QCommandLineParser>

#include <array>
#include <cmath>

namespace {

struct OptionText
{
    const char *names;      // separated by '|', the long one last
    const char *valueName;  // empty for a switch
    const char *description;
};

// The options in the order --help lists them.
constexpr std::array options{
    OptionText{"demo", "", QT_TRANSLATE_NOOP("LaunchOptions", "Run on fictional demo data, without the Tandrel service.")},
    OptionText{"visualization-demo", "",
               QT_TRANSLATE_NOOP("LaunchOptions", "With --demo: open the sample message with an HTML attachment.")},
    OptionText{"open", "", QT_TRANSLATE_NOOP("LaunchOptions", "Open the running panel and hold it open (start one if none runs).")},
    OptionText{"toggle", "", QT_TRANSLATE_NOOP("LaunchOptions", "Open or collapse the running panel (start one, open, if none runs).")},
    OptionText{"notify", "",
               QT_TRANSLATE_NOOP("LaunchOptions", "Show a desktop notification for a message that arrives while collapsed.")},
    OptionText{"screen", QT_TRANSLATE_NOOP("LaunchOptions", "NAME"),
               QT_TRANSLATE_NOOP("LaunchOptions", "Sit on the screen with this output name (as xrandr lists them).")},
    OptionText{"notch-width", QT_TRANSLATE_NOOP("LaunchOptions", "POINTS"),
               QT_TRANSLATE_NOOP("LaunchOptions", "Treat the screen as notched: the notch's width (with --notch-height).")},
    OptionText{"notch-height", QT_TRANSLATE_NOOP("LaunchOptions", "POINTS"),
               QT_TRANSLATE_NOOP("LaunchOptions", "Treat the screen as notched: the notch's height (with --notch-width).")},
    OptionText{"h|help", "", QT_TRANSLATE_NOOP("LaunchOptions", "Print this help and exit.")},
    OptionText{"version", "", QT_TRANSLATE_NOOP("LaunchOptions", "Print the version and exit.")},
};

// Qt's own options, which the application object reads and removes; accepted here and not listed.
constexpr std::array qtValueOptions{"platform", "platformpluginpath", "platformtheme", "plugin", "display", "qwindowgeometry",
                                    "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "name", "style",
                                    "stylesheet", "session", "qmljsdebugger"};
constexpr std::array qtSwitches{"reverse", "nograb", "dograb", "sync", "widgetcount"};

QStringList namesOf(const OptionText &option)
{
    return QString::fromLatin1(option.names).split(QLatin1Char('|'));
}

QCommandLineOption commandLineOption(const OptionText &option)
{
    if (*option.valueName)
        return QCommandLineOption(namesOf(option), QString(), QString::fromLatin1(option.valueName));
    return QCommandLineOption(namesOf(option));
}

// A positive, finite number of points, or nothing.
std::optional<double> points(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().isEmpty() ? 0 : text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

// The option an argument names ("--screen=X", "-platform" and "--demo" name "screen", "platform", "demo").
QString optionName(const QString &argument)
{
    qsizetype start = 0;
    while (start < argument.size() && start < 2 && argument.at(start) == QLatin1Char('-'))
        ++start;
    return argument.mid(start).section(QLatin1Char('='), 0, 0);
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList &arguments)
{
    LaunchOptions result;
    QCommandLineParser parser;
    // Qt's own options are single-dash words ("-platform xcb"); the application's take two dashes.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionText &option : options)
        parser.addOption(commandLineOption(option));
    for (const char *name : qtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : qtSwitches) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments)) {
        // An option that does not exist, named as it was typed.
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
            QString shown = QLatin1String("--") + unknown.first();
            for (qsizetype i = 1; i < arguments.size(); ++i) {
                if (arguments.at(i).startsWith(QLatin1Char('-')) && optionName(arguments.at(i)) == unknown.first()) {
                    shown = arguments.at(i).section(QLatin1Char('='), 0, 0);
                    break;
                }
            }
            result.error = tr("There is no option %1; tandrel-notch --help lists the options.").arg(shown);
            return result;
        }
        // A value option last on the line, without its value.
        const QString last = arguments.size() > 1 ? arguments.last() : QString();
        const QString lastName = optionName(last);
        if (last.startsWith(QLatin1Char('-')) && !last.contains(QLatin1Char('='))) {
            if (lastName == QLatin1String("screen")) {
                result.error = tr("--screen needs a screen name: --screen=NAME.");
                return result;
            }
            if (lastName == QLatin1String("notch-width") || lastName == QLatin1String("notch-height")) {
                result.error = tr("%1 needs a positive number of points: %1=POINTS.").arg(QLatin1String("--") + lastName);
                return result;
            }
        }
        // Qt's own words for the rest (a value given to a switch).
        result.error = parser.errorText();
        return result;
    }

    const auto fail = [&result](const QString &error) {
        if (result.error.isEmpty())
            result.error = error;
    };
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        fail(tr("Unexpected argument \"%1\"; tandrel-notch --help lists the options.")
                 .arg(extra.first()));

    result.help = parser.isSet(QStringLiteral("help"));
    result.version = parser.isSet(QStringLiteral("version"));
    result.demo = parser.isSet(QStringLiteral("demo"));
    result.visualizationDemo = parser.isSet(QStringLiteral("visualization-demo"));
    result.notify = parser.isSet(QStringLiteral("notify"));
    result.platform = parser.value(QStringLiteral("platform"));
    result.display = parser.value(QStringLiteral("display"));
    const bool open = parser.isSet(QStringLiteral("open"));
    const bool toggle = parser.isSet(QStringLiteral("toggle"));
    if (open && toggle)
        fail(tr("--open and --toggle cannot be given together."));
    result.command = open ? Command::open : toggle ? Command::toggle : Command::none;

    if (parser.isSet(QStringLiteral("screen"))) {
        result.screenName = parser.value(QStringLiteral("screen"));
        if (result.screenName.isEmpty() || result.screenName.startsWith(QLatin1Char('-')))
            fail(tr("--screen needs a screen name: --screen=NAME."));
    }
    const auto number = [&](const QString &name) -> std::optional<double> {
        if (!parser.isSet(name))
            return std::nullopt;
        const QString value = parser.value(name);
        const std::optional<double> parsed = points(value);
        if (!parsed)
            fail(tr("%1 needs a positive number of points, not \"%2\".").arg(QLatin1String("--") + name, value));
        return parsed;
    };
    const std::optional<double> width = number(QStringLiteral("notch-width"));
    const std::optional<double> height = number(QStringLiteral("notch-height"));
    if (result.error.isEmpty() && parser.isSet(QStringLiteral("notch-width")) != parser.isSet(QStringLiteral("notch-height")))
        fail(tr("--notch-width and --notch-height go together: give both."));
    if (width && height)
        result.notch = QSizeF(*width, *height);
    return result;
}

QString LaunchOptions::helpText()
{
    QStringList columns;
    qsizetype widest = 0;
    for (const OptionText &option : options) {
        QStringList names;
        for (const QString &name : namesOf(option))
            names << (name.size() == 1 ? QLatin1String("-") : QLatin1String("--")) + name;
        QString column = names.join(QLatin1String(", "));
        if (*option.valueName)
            column += QLatin1Char('=') + tr(option.valueName);
        widest = std::max(widest, column.size());
        columns << column;
    }
    QString text = tr("Usage: tandrel-notch [OPTION]...") + QLatin1Char('\n') +
                   tr("Your Tandrel inbox in the band at the top centre of the screen.") + QLatin1String("\n\n");
    for (std::size_t i = 0; i < options.size(); ++i) {
        text += QLatin1String("  ") + columns.at(qsizetype(i)).leftJustified(widest + 2) + tr(options.at(i).description) +
                QLatin1Char('\n');
    }
    text += QLatin1Char('\n') + tr("Configuration: ~/.config/tandrel/notch.json. More in tandrel-notch(1).") + QLatin1Char('\n');
    return text;
}

QString LaunchOptions::versionText()
{
    return QStringLiteral("Tandrel Notch %1\n").arg(QStringLiteral(TANDREL_VERSION));
}

QStringList LaunchOptions::applicationArguments(const QString &program) const
{
    QStringList arguments{program};
    if (demo)
        arguments << QStringLiteral("--demo");
    if (visualizationDemo)
        arguments << QStringLiteral("--visualization-demo");
    if (notify)
        arguments << QStringLiteral("--notify");
    return arguments;
}
