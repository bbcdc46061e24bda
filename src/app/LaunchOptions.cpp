#include "LaunchOptions.h"

#include <cmath>

namespace {

// A positive, finite number of points, or nothing.
std::optional<double> points(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().isEmpty() ? 0 : text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList &arguments)
{
    LaunchOptions options;
    std::optional<double> width;
    std::optional<double> height;
    const auto fail = [&options](const QString &error) {
        if (options.error.isEmpty())
            options.error = error;
    };
    const auto number = [&fail](const QString &argument, qsizetype prefix, std::optional<double> &into) {
        const QString value = argument.mid(prefix);
        into = points(value);
        if (!into)
            fail(QStringLiteral("%1 needs a positive number of points, not \"%2\".").arg(argument.left(prefix - 1), value));
    };
    // The program name comes first.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--demo")) {
            options.demo = true;
        } else if (argument == QLatin1String("--visualization-demo")) {
            options.visualizationDemo = true;
        } else if (argument == QLatin1String("--open") || argument == QLatin1String("--toggle")) {
            const Command command = argument == QLatin1String("--open") ? Command::open : Command::toggle;
            if (options.command != Command::none && options.command != command)
                fail(QStringLiteral("--open and --toggle cannot be given together."));
            options.command = command;
        } else if (argument.startsWith(QLatin1String("--screen=")) || argument == QLatin1String("--screen")) {
            options.screenName = argument.mid(9);
            if (options.screenName.isEmpty())
                fail(QStringLiteral("--screen needs a screen name: --screen=NAME."));
        } else if (argument.startsWith(QLatin1String("--notch-width="))) {
            number(argument, 14, width);
        } else if (argument.startsWith(QLatin1String("--notch-height="))) {
            number(argument, 15, height);
        } else if (argument == QLatin1String("--notch-width") || argument == QLatin1String("--notch-height")) {
            fail(QStringLiteral("%1 needs a positive number of points: %1=POINTS.").arg(argument));
        }
    }
    if (options.error.isEmpty() && width.has_value() != height.has_value())
        fail(QStringLiteral("--notch-width and --notch-height go together: give both."));
    if (width && height)
        options.notch = QSizeF(*width, *height);
    return options;
}
