#pragma once

#include "AppDelegate.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

class QQuickItem;

// The named states the views are reviewed in: the state renderer draws each of them to a picture, and the
// tests walk each with a screen reader's actions. A state names the inbox it runs on and how it is reached
// from the open list of the personal inbox.
class ViewStates
{
public:
    enum class Launch { demo, visualization, live, failing };

    struct State
    {
        State(QString name, Launch launch, std::function<void(AppDelegate &)> setUp, QString openMenuOf = {},
              bool showsWebView = false, bool croppedToSurface = false)
            : name(std::move(name)), launch(launch), setUp(std::move(setUp)), openMenuOf(std::move(openMenuOf)),
              showsWebView(showsWebView), croppedToSurface(croppedToSurface)
        {
        }

        QString name;
        Launch launch = Launch::demo;
        // Brings the open list into the state.
        std::function<void(AppDelegate &)> setUp;
        // The control (by object name) whose menu the state shows open; empty for none.
        QString openMenuOf;
        // The state shows an HTML attachment: it is drawn once the web view has loaded.
        bool showsWebView = false;
        // The picture shows only the surface, with a margin (the README's picture).
        bool croppedToSurface = false;
    };

    static QList<State> all();

    // The shell's options for a launch: the demo data, or a live inbox fed a fixed snapshot through
    // runners that leave every other command pending (nothing reaches a service). `openUrl` sees the
    // addresses the views ask to open, `ran` the tool commands the inbox runs.
    static AppDelegate::Options options(Launch launch, Scheduler &scheduler,
                                        std::function<void(const QUrl &)> openUrl = {},
                                        std::function<void(const QString &)> ran = {});

    // Back to the open list of the personal inbox, unfiltered, with nothing selected.
    static void reset(AppDelegate &app);

    // The visible item of the panel with that object name, or null.
    static QQuickItem *find(AppDelegate &app, const QString &name);
};
