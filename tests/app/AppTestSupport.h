#pragma once

#include "AppDelegate.h"
#include "NotchPanel.h"
#include "InboxTestAccess.h"
#include "VirtualScheduler.h"

#include <QQuickItem>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Lets the model's coalesced updates and the views' bindings run, then lays out and draws a frame (lists and
// layouts place their items when a frame is prepared).
inline void settlePanel(VirtualScheduler &clock, AppDelegate &app)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    clock.runDue();
    QCoreApplication::processEvents();
    app.panel()->grabWindow();
}

// The visible items of that object name at or under `item`, in tree order.
inline void collectVisible(QQuickItem *item, const QString &name, QList<QQuickItem *> &found)
{
    if (!item)
        return;
    if (item->objectName() == name && item->isVisible())
        found.append(item);
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        collectVisible(child, name, found);
}

// The application in virtual time on the offscreen platform (one 800 x 600 screen at the origin): no status
// item, no system monitors, a pointer the test moves, alerts the test answers.
class AppFixture : public ::testing::Test
{
protected:
    static constexpr double centreX = 400; // the panel's centre on the offscreen screen

    void TearDown() override { app.reset(); }

    void launch(const QStringList &switches, std::function<InboxServices(Scheduler &)> liveServices = {})
    {
        AppDelegate::Options options;
        options.arguments = QStringList{QStringLiteral("tandrel-notch")} + switches;
        options.scheduler = &clock;
        options.liveServices = std::move(liveServices);
        // A desktop without a tray: the status item is asked for, and the platform has none to give.
        options.statusItem = withoutTray;
        options.trayAvailable = [] { return false; };
        options.screenName = screenName;
        options.notch = notch;
        options.systemMonitors = false;
        options.pointerLocation = [this] { return pointer; };
        options.runAlert = [this](const AppDelegate::QuitAlert &alert) {
            alerts.push_back(alert);
            return answer;
        };
        options.terminate = [this] { ++terminations; };
        app = std::make_unique<AppDelegate>(std::move(options));
        app->applicationDidFinishLaunching();
        clock.runDue();
    }

    Inbox &inbox() const { return app->inbox(); }
    void settle() { settlePanel(clock, *app); }
    QQuickItem *surface() const
    {
        QQuickItem *root = app->panel()->rootView();
        return root ? root->findChild<QQuickItem *>(QStringLiteral("notchSurface")) : nullptr;
    }
    void moveTo(QPointF point)
    {
        pointer = point;
        app->updateHover();
    }

    bool withoutTray = false;
    QString screenName;
    std::optional<QSizeF> notch;
    VirtualScheduler clock;
    QPointF pointer{5, 590};
    std::vector<AppDelegate::QuitAlert> alerts;
    int answer = 0;
    int terminations = 0;
    std::unique_ptr<AppDelegate> app;
};
