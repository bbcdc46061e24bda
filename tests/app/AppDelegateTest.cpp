// The application in demo mode: launch, the status menu's actions, the quit guard, hover and outside clicks,
// and the keyboard's way of opening and closing without animation.

#include "AppTestSupport.h"
#include "FakeRunner.h"
#include "TrayMenu.h"

#include "inbox/DemoSamples.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QShortcutEvent>
#include <QTest>

namespace {

int countIn(const Inbox &inbox, const InboxScope &scope)
{
    return int(std::count_if(inbox.messages().cbegin(), inbox.messages().cend(),
                             [&](const Message &message) { return message.scope == scope; }));
}

InboxServices fakeServices(Scheduler &scheduler, FakeRunner *&snapshots, FakeHintSource **hints = nullptr)
{
    InboxServices services;
    services.scheduler = &scheduler;
    auto connection = std::make_unique<FakeRunner>();
    snapshots = connection.get();
    services.connection = std::move(connection);
    services.mutationConnection = std::make_unique<FakeRunner>();
    services.subscriptionConnection = std::make_unique<FakeRunner>();
    services.replyConnection = std::make_unique<FakeRunner>();
    auto source = std::make_unique<FakeHintSource>();
    if (hints)
        *hints = source.get();
    services.hints = std::move(source);
    return services;
}

using DemoApp = AppFixture;

TEST_F(DemoApp, StartsOpenAndPinnedAndASimulatedMessageArrivesInTheTeamInboxThreeSecondsLater)
{
    const double launched = clock.now();
    launch({QStringLiteral("--demo")});
    ASSERT_TRUE(app->panel());
    ASSERT_TRUE(app->panel()->rootView()) << qPrintable(app->panel()->loadError());
    EXPECT_FALSE(inbox().live());
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
    EXPECT_TRUE(app->panel()->isVisible());
    // Placed at the top centre of the screen; no screen reports a notch here.
    EXPECT_EQ(app->panel()->geometry(), QRect(40, 0, 720, 720));
    EXPECT_FALSE(inbox().hasNotch());
    EXPECT_EQ(inbox().topInset(), 24);
    EXPECT_EQ(inbox().notchWidth(), 140);
    // The views report the surface they draw (motion is reduced here, so at once).
    EXPECT_EQ(app->presentedSize(), QSizeF(440, 24 + 352 + 26));

    const int before = countIn(inbox(), InboxScope::demoTeamLaunch());
    clock.advanceTo(launched + 3 - 1e-3);
    EXPECT_EQ(countIn(inbox(), InboxScope::demoTeamLaunch()), before);
    EXPECT_FALSE(inbox().arrival());
    clock.advanceTo(launched + 3);
    EXPECT_EQ(countIn(inbox(), InboxScope::demoTeamLaunch()), before + 1);
    ASSERT_TRUE(inbox().latestArrivalID());
    EXPECT_EQ(inbox().messages().first().id, *inbox().latestArrivalID());
    EXPECT_EQ(inbox().messages().first().scope, InboxScope::demoTeamLaunch());
    EXPECT_TRUE(inbox().arrival());
    clock.advance(10);
    EXPECT_EQ(countIn(inbox(), InboxScope::demoTeamLaunch()), before + 1); // once per launch
}

TEST_F(DemoApp, TheVisualizationSwitchOpensItsSampleInTheDemoOnly)
{
    launch({QStringLiteral("--visualization-demo"), QStringLiteral("--demo")});
    const Message &sample = DemoSamples::instance().visualizationSample();
    EXPECT_EQ(inbox().messages().first().id, sample.id);
    EXPECT_EQ(inbox().selectedID(), sample.id);
    EXPECT_EQ(inbox().presentation().phase, NotchPresentation::Phase::reader);
    EXPECT_EQ(inbox().contentWidth(), 620); // it carries an attached page
    EXPECT_EQ(app->presentedSize(), QSizeF(660, 24 + 660 + 26));

    app.reset();
    FakeRunner *snapshots = nullptr;
    FakeHintSource *hints = nullptr;
    launch({QStringLiteral("--visualization-demo")},
           [&snapshots, &hints](Scheduler &scheduler) { return fakeServices(scheduler, snapshots, &hints); });
    EXPECT_TRUE(inbox().live());
    EXPECT_FALSE(inbox().expanded());
    EXPECT_FALSE(inbox().selectedID());
    ASSERT_TRUE(snapshots);
    EXPECT_EQ(snapshots->started, 1); // the sync loop started with a snapshot

    // Waking the computer refreshes a live inbox once the current refresh is done, and renews its sockets.
    snapshots->finishNext(Failure::tandrel(1, QStringLiteral("offline")));
    clock.runDue();
    const int started = snapshots->started;
    ASSERT_TRUE(hints && hints->current.has_value());
    app->wakeSync();
    EXPECT_FALSE(hints->cancelled);
    clock.runDue();
    EXPECT_EQ(snapshots->started, started + 1);
    EXPECT_TRUE(hints->cancelled);
}

// The web engine, by far the largest part of the program, loads with the first attachment shown.
TEST_F(DemoApp, TheWebEngineLoadsWithTheFirstAttachmentShownAndNotBefore)
{
    const auto engineLoaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
    };
    const ::testing::UnitTest &tests = *::testing::UnitTest::GetInstance();
    if (tests.successful_test_count() + tests.failed_test_count() + tests.skipped_test_count() > 0 && engineLoaded())
        GTEST_SKIP() << "an earlier test in this process showed an attachment";
    launch({QStringLiteral("--demo")});
    ASSERT_TRUE(app->panel()->rootView()) << qPrintable(app->panel()->loadError());
    inbox().selectMessage(inbox().messages().constLast().id.toString()); // the reader, of a message without one
    EXPECT_TRUE(inbox().selectedID());
    EXPECT_FALSE(engineLoaded());

    app.reset();
    launch({QStringLiteral("--visualization-demo"), QStringLiteral("--demo")});
    EXPECT_TRUE(QTest::qWaitFor([&] {
        settlePanel(clock, *app);
        QList<QQuickItem *> views;
        collectVisible(app->panel()->contentItem(), QStringLiteral("visualizationView"), views);
        return !views.isEmpty();
    }));
    EXPECT_TRUE(engineLoaded());
}

TEST_F(DemoApp, WakingInTheDemoStartsNoRefresh)
{
    launch({QStringLiteral("--demo")});
    const std::size_t pending = clock.pendingCount();
    app->wakeSync();
    EXPECT_EQ(clock.pendingCount(), pending);
}

TEST_F(DemoApp, TheMenuOffersSimulationInTheDemoAndItAlwaysArrivesElsewhere)
{
    const TrayMenu demo(true);
    QStringList titles;
    for (const QAction *action : demo.actions()) {
        if (!action->isSeparator())
            titles << action->text() + QLatin1Char('|') + action->shortcut().toString(QKeySequence::PortableText);
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Open inbox|Ctrl+O"),
                                   QStringLiteral("Simulate message in another inbox|Ctrl+N"),
                                   QStringLiteral("Start at login|"), QStringLiteral("Quit Tandrel Notch|Ctrl+Q")}));
    EXPECT_TRUE(demo.startAtLoginAction()->isCheckable());
    const TrayMenu live(false);
    EXPECT_EQ(std::count_if(live.actions().cbegin(), live.actions().cend(),
                            [](const QAction *action) { return !action->isSeparator(); }),
              3);
    EXPECT_FALSE(live.simulateAction());

    // The key equivalent opens the inbox as a keyboard change; a click does not.
    TrayMenu menu(true);
    std::vector<bool> opened;
    QObject::connect(&menu, &TrayMenu::openInboxRequested, [&](bool fromKeyboard) { opened.push_back(fromKeyboard); });
    QShortcutEvent shortcut(menu.openAction()->shortcut(), 0);
    QCoreApplication::sendEvent(menu.openAction(), &shortcut);
    menu.openAction()->trigger();
    EXPECT_EQ(opened, (std::vector<bool>{true, false}));

    launch({QStringLiteral("--demo")});
    const int personal = countIn(inbox(), InboxScope::personal());
    const int team = countIn(inbox(), InboxScope::demoTeamLaunch());
    app->simulate(); // showing "personal"
    EXPECT_EQ(countIn(inbox(), InboxScope::demoTeamLaunch()), team + 1);
    inbox().switchScope(InboxScope::demoTeamLaunch());
    app->simulate();
    EXPECT_EQ(countIn(inbox(), InboxScope::personal()), personal + 1);
}

TEST_F(DemoApp, QuittingAsksAboutDraftsAndRefusesWhileAReplyIsSending)
{
    launch({QStringLiteral("--demo")});
    app->quit();
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(alerts.empty());

    inbox().setDirectDraft(QStringLiteral("Half a thought"));
    answer = 0; // Return: the default, "Keep Editing"
    app->quit();
    EXPECT_EQ(terminations, 1);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, QStringLiteral("Discard unsent drafts and quit?"));
    EXPECT_EQ(alerts[0].informativeText,
              QStringLiteral("Your unsent Notch replies will be lost. Choose Keep Editing to leave the Notch enabled."));
    EXPECT_EQ(alerts[0].buttons,
              (QStringList{QStringLiteral("Keep Editing"), QStringLiteral("Discard Drafts and Quit")}));
    EXPECT_EQ(alerts[0].defaultButton, 0);
    EXPECT_EQ(inbox().directDraft(), QStringLiteral("Half a thought"));
    answer = 1;
    app->quit();
    EXPECT_EQ(terminations, 2);

    // A reply still sending wins over drafts, and quitting is refused whatever the answer.
    InboxTestAccess::setPendingReplies(inbox(), {{QUuid::createUuid(), QStringLiteral("thread"),
                                                  QStringLiteral("On its way"), std::nullopt, QString()}});
    alerts.clear();
    answer = 0;
    app->quit();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, QStringLiteral("A reply is still sending"));
    EXPECT_EQ(alerts[0].informativeText,
              QStringLiteral("Wait for sending to finish before turning off the Notch. Your reply will stay open."));
    EXPECT_EQ(alerts[0].buttons, QStringList{QStringLiteral("Keep Notch Open")});
    EXPECT_EQ(terminations, 2);
    EXPECT_EQ(inbox().pendingReplies().size(), 1);
}

TEST_F(DemoApp, HoverOpensTheTabAtOnceAndLeavingClosesItAfterTheExitDelay)
{
    launch({QStringLiteral("--demo")});
    inbox().close();
    clock.runDue();
    EXPECT_EQ(app->presentedSize(), QSizeF(180, 24)); // unread mail: the tab beside the notch
    // In window coordinates: the panel's centre is at 360.
    EXPECT_EQ(app->panel()->inputRegion(), QRectF(360 - 90 - 3, 0, 180 + 6, 24 + 3));

    moveTo({centreX + 92, 26}); // inside the 3-point margin, right and below
    EXPECT_TRUE(inbox().expanded());
    EXPECT_FALSE(inbox().pinned());
    clock.runDue();
    EXPECT_EQ(app->presentedSize(), QSizeF(440, 402));

    moveTo({centreX, 500}); // below the open card
    EXPECT_TRUE(app->hoverTimerPending());
    clock.advance(0.11);
    EXPECT_TRUE(inbox().expanded());
    clock.advance(0.02);
    EXPECT_FALSE(inbox().expanded());
    clock.runDue();
    EXPECT_EQ(app->presentedSize(), QSizeF(180, 24));

    // An open menu freezes hover: the surface stays open with the pointer away until it closes. The visit
    // that the menu interrupted was a long one, so the longer exit delay applies afterwards.
    moveTo({centreX, 10});
    ASSERT_TRUE(inbox().expanded());
    app->menuBegan();
    moveTo({centreX, 500});
    clock.advance(2);
    EXPECT_TRUE(inbox().expanded());
    app->menuEnded();
    clock.advance(0.13);
    EXPECT_TRUE(inbox().expanded());
    clock.advance(0.38);
    EXPECT_FALSE(inbox().expanded());
}

TEST_F(DemoApp, OutsideClicksCloseByTheRulesAndWheelStepsAreNoClicks)
{
    launch({QStringLiteral("--demo")});
    ASSERT_TRUE(inbox().expanded());
    pointer = {centreX, 200}; // on the open surface
    app->buttonPressed(1);
    EXPECT_TRUE(inbox().expanded());
    pointer = {700, 550};
    app->buttonPressed(4);
    app->buttonPressed(5);
    EXPECT_TRUE(inbox().expanded());
    app->buttonPressed(3); // a right click counts once, and pinned does not protect
    EXPECT_FALSE(inbox().expanded());

    // With a message in the reader a single click keeps it; a double click closes and clears it.
    app->openInbox(false);
    inbox().select(inbox().messages().first());
    pointer = {795, 595}; // beside even the widest reader
    clock.advance(1);
    app->buttonPressed(1);
    EXPECT_TRUE(inbox().expanded());
    clock.advance(1);
    app->buttonPressed(1);
    app->buttonPressed(1);
    EXPECT_FALSE(inbox().expanded());
    EXPECT_FALSE(inbox().selectedID());
}

class MotionApp : public AppFixture
{
protected:
    void SetUp() override { qputenv("TANDREL_REDUCE_MOTION", "0"); }
    void TearDown() override
    {
        AppFixture::TearDown();
        qputenv("TANDREL_REDUCE_MOTION", "1");
    }
};

TEST_F(MotionApp, KeyboardChangesJumpWhileOtherChangesAnimate)
{
    launch({QStringLiteral("--demo")});
    QQuickItem *drawn = surface();
    ASSERT_TRUE(drawn);
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn->width() == 440; }, 2000)); // the demo opens animated

    // Escape on the view closes at once.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(app->panel()->rootView(), &escape);
    EXPECT_FALSE(inbox().expanded());
    EXPECT_EQ(drawn->width(), 180);
    EXPECT_EQ(drawn->height(), 24);
    EXPECT_EQ(app->presentedSize(), QSizeF(180, 24));

    // "Open inbox" from the mouse animates: the surface has not moved yet.
    app->openInbox(false);
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
    EXPECT_EQ(drawn->width(), 180);
    // ...and reports the frames in between as it grows.
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn->width() > 180 && drawn->width() < 440; }, 2000));
    EXPECT_EQ(app->presentedSize().width(), drawn->width());
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn->width() == 440; }, 2000));

    // Closing from the mouse animates; opening from the keyboard jumps to the end, even mid-animation.
    inbox().close();
    EXPECT_EQ(drawn->width(), 440);
    app->openInbox(true);
    EXPECT_EQ(drawn->width(), 440);
    EXPECT_EQ(drawn->height(), 402);
    QTest::qWait(50);
    EXPECT_EQ(drawn->width(), 440);
}

TEST_F(DemoApp, RequestsFromOutsideOpenPinnedAndToggle)
{
    launch({QStringLiteral("--demo")});
    inbox().close();
    app->togglePanel();
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
    app->togglePanel();
    EXPECT_FALSE(inbox().expanded());
    app->openPanel();
    app->openPanel();
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
}

TEST_F(DemoApp, LogoutPassesTheQuitGuardOnlyWhenItMayAsk)
{
    launch({QStringLiteral("--demo")});
    int asked = 0;
    const auto interaction = [&asked](bool granted) {
        return [&asked, granted] {
            ++asked;
            return granted;
        };
    };
    // Nothing to lose: the session ends without asking for interaction.
    EXPECT_TRUE(app->sessionMayEnd(interaction(true)));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(alerts.empty());

    const Message message = inbox().messages().first();
    inbox().setReplyDraft(inbox().threadKey(message), QStringLiteral("half a thought"));
    ASSERT_TRUE(inbox().hasUnsentDrafts());
    // Not allowed to ask: the session ends.
    EXPECT_TRUE(app->sessionMayEnd(interaction(false)));
    EXPECT_TRUE(alerts.empty());
    // "Keep Editing" cancels the logout; "Discard Drafts and Quit" lets it go on.
    answer = 0;
    EXPECT_FALSE(app->sessionMayEnd(interaction(true)));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.back().buttons,
              (QStringList{QStringLiteral("Keep Editing"), QStringLiteral("Discard Drafts and Quit")}));
    answer = 1;
    EXPECT_TRUE(app->sessionMayEnd(interaction(true)));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(terminations, 0); // the session ends the application, not the guard
}

TEST_F(DemoApp, NotchSwitchesMakeTheScreenNotched)
{
    notch = QSizeF(200, 32);
    screenName = QStringLiteral("no such screen"); // gone: the primary screen it is
    launch({QStringLiteral("--demo")});
    EXPECT_TRUE(inbox().hasNotch());
    EXPECT_EQ(inbox().notchWidth(), 200);
    EXPECT_EQ(inbox().topInset(), 32);
    EXPECT_EQ(app->panelScreen(), QGuiApplication::primaryScreen());
    // Centred at the top of the 800-point screen.
    EXPECT_EQ(app->panel()->x(), 400 - 360);
    EXPECT_EQ(app->panel()->y(), 0);
}

using NoTrayApp = AppFixture;

TEST_F(NoTrayApp, TheTabStaysWithNothingUnreadAndTheBarsRightClickGivesTheMenu)
{
    withoutTray = true;
    FakeRunner *snapshots = nullptr;
    launch({}, [&snapshots](Scheduler &scheduler) { return fakeServices(scheduler, snapshots); });
    EXPECT_EQ(app->statusItem(), nullptr);
    EXPECT_TRUE(inbox().keepsTab());
    EXPECT_EQ(inbox().totalUnreadCount(), 0);
    EXPECT_EQ(inbox().presentation().size, QSizeF(180, 24));
    // The tab takes the pointer: hovering it opens the surface.
    moveTo(QPointF(centreX, 10));
    EXPECT_TRUE(inbox().expanded());

    QQuickItem *bar = app->panel()->rootView()->findChild<QQuickItem *>(QStringLiteral("notchBar"));
    ASSERT_TRUE(bar);
    const QPoint onBar = bar->mapToScene(QPointF(bar->width() / 2, bar->height() / 2)).toPoint();
    QTest::mouseClick(app->panel(), Qt::RightButton, {}, onBar);
    clock.runDue();
    ASSERT_TRUE(app->menu());
    EXPECT_TRUE(app->menu()->isVisible());
    EXPECT_TRUE(app->menuTracking());
    QStringList titles;
    for (const QAction *action : app->menu()->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Open inbox"), QString(), QStringLiteral("Start at login"), QString(),
                                   QStringLiteral("Quit Tandrel Notch")}));
    app->menu()->quitAction()->trigger();
    EXPECT_EQ(terminations, 1);
    app->menu()->close();
}

TEST_F(NoTrayApp, WithATrayOrNoStatusItemTheCollapsedSurfaceMayVanish)
{
    FakeRunner *snapshots = nullptr;
    launch({}, [&snapshots](Scheduler &scheduler) { return fakeServices(scheduler, snapshots); });
    EXPECT_FALSE(inbox().keepsTab());
    EXPECT_EQ(inbox().presentation().size, QSizeF(0, 0));
}

} // namespace
