#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Switches match whole arguments anywhere in the list; arguments that are
// none of these (the platform's own, say) are left alone.
//
//   --demo, --visualization-demo   the demo inbox, and its visualization sample
//   --open, --toggle               open (pinned) or toggle the running panel, starting one when none runs
//   --screen=NAME                  the screen to sit on, by its output name (default: the primary screen)
//   --notch-width=POINTS, --notch-height=POINTS
//                                  treat the screen as notched, the notch centred at the top (both or none)
struct LaunchOptions
{
    enum class Command
    {
        none,
        open,
        toggle,
    };

    bool demo = false;
    bool visualizationDemo = false;
    Command command = Command::none;
    QString screenName;
    // Width and height of the notch, when given.
    std::optional<QSizeF> notch;
    // A one-line description of the first bad argument; empty when all is well.
    QString error;

    static LaunchOptions parse(const QStringList &arguments);

    // "demo" or "live".
    QString mode() const { return demo ? QStringLiteral("demo") : QStringLiteral("live"); }
};
