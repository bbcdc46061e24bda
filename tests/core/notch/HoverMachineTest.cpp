#include "NotchShell.h"

#include <gtest/gtest.h>


TEST(HoverMachine, HoveringTheCollapsedNotchOpensItAtOnce)
{
    NotchShell shell;
    shell.updateHover();
    EXPECT_FALSE(shell.expanded());
    EXPECT_TRUE(shell.mouseTransparent);

    shell.moveTo(shell.onNotch);
    EXPECT_TRUE(shell.expanded());
    EXPECT_FALSE(shell.mouseTransparent);
    EXPECT_EQ(shell.machine.intent(), (HoverIntent{true, shell.clock.now(), std::nullopt, false}));
    EXPECT_FALSE(shell.timerPending());
}

TEST(HoverMachine, AVisitOfMoreThanTheDwellEarnsTheLongerExitDelay)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.clock.advance(0.35);
    shell.moveTo({760, 200});
    EXPECT_FALSE(shell.machine.intent().engaged);
    shell.clock.advance(0.35);
    shell.moveTo({770, 210});
    EXPECT_TRUE(shell.machine.intent().engaged);

    shell.moveTo(shell.farAway);
    EXPECT_TRUE(shell.mouseTransparent);
    EXPECT_NEAR(shell.clock.nextDue() - shell.clock.now(), 0.5, 1e-9);
    shell.clock.advance(0.49);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.02);
    EXPECT_FALSE(shell.expanded());
    EXPECT_EQ(shell.closes, 1);
    EXPECT_FALSE(shell.machine.intent().engaged);
    EXPECT_FALSE(shell.timerPending());
}

TEST(HoverMachine, AVisitEndingBetweenTwoEvaluationsStillCounts)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.clock.advance(0.7);
    shell.moveTo(shell.farAway);
    EXPECT_TRUE(shell.machine.intent().engaged);
    shell.clock.advance(0.3);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.21);
    EXPECT_FALSE(shell.expanded());
}

TEST(HoverMachine, AShortVisitClosesAfterTheShortDelay)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.clock.advance(0.3);
    shell.moveTo(shell.farAway);
    EXPECT_FALSE(shell.machine.intent().engaged);
    // Further moves outside keep the time the pointer left.
    shell.clock.advance(0.05);
    shell.moveTo({90, 650});
    shell.clock.advance(0.06);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.02);
    EXPECT_FALSE(shell.expanded());
}

TEST(HoverMachine, ReturningBeforeTheDelayKeepsTheSurfaceOpen)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.clock.advance(0.3);
    shell.moveTo(shell.farAway);
    EXPECT_TRUE(shell.timerPending());
    shell.clock.advance(0.1);
    shell.moveTo({760, 300});
    EXPECT_FALSE(shell.timerPending());
    EXPECT_EQ(shell.machine.intent().exitedAt, std::nullopt);
    EXPECT_EQ(shell.machine.intent().enteredAt, shell.clock.now());
    shell.clock.advance(5);
    EXPECT_TRUE(shell.expanded());
    EXPECT_EQ(shell.closes, 0);
}

TEST(HoverMachine, PinsAndArrivalsHoldTheSurfaceOpen)
{
    NotchShell shell;
    shell.geometry.expanded = true;
    shell.pinned = true;
    shell.moveTo(shell.farAway);
    EXPECT_FALSE(shell.timerPending());
    shell.clock.advance(10);
    shell.moveTo({50, 900});
    EXPECT_TRUE(shell.expanded());

    NotchShell arriving;
    arriving.geometry.expanded = true;
    arriving.arrival = true;
    arriving.moveTo(arriving.farAway);
    arriving.clock.advance(3);
    arriving.moveTo({50, 900});
    EXPECT_TRUE(arriving.expanded());
    EXPECT_FALSE(arriving.timerPending());
    // When the indication ends the pointer has long been away: the surface closes on the next evaluation.
    arriving.arrival = false;
    arriving.updateHover();
    EXPECT_FALSE(arriving.expanded());
}

TEST(HoverMachine, AnOpenMenuFreezesHover)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.menuBegan();
    shell.moveTo(shell.farAway);
    EXPECT_FALSE(shell.mouseTransparent);
    EXPECT_FALSE(shell.timerPending());
    shell.clock.advance(5);
    shell.moveTo({50, 900});
    EXPECT_TRUE(shell.expanded());

    // Closing the menu with the pointer away starts the exit delay; the visit that the menu
    // interrupted lasted well over the dwell, so it is the longer one.
    shell.menuEnded();
    EXPECT_TRUE(shell.mouseTransparent);
    EXPECT_TRUE(shell.machine.intent().engaged);
    shell.clock.advance(0.49);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.02);
    EXPECT_FALSE(shell.expanded());

    // A menu opening cancels a pending exit.
    NotchShell leaving;
    leaving.moveTo(leaving.onNotch);
    leaving.moveTo(leaving.farAway);
    leaving.menuBegan();
    leaving.clock.advance(2);
    EXPECT_TRUE(leaving.expanded());
}

TEST(HoverMachine, ClosingWithThePointerStillOnTheNotchDoesNotReopenUntilItLeaves)
{
    NotchShell shell;
    shell.moveTo(shell.onNotch);
    shell.close();
    shell.moveTo({757, 12});
    EXPECT_FALSE(shell.expanded());
    EXPECT_FALSE(shell.mouseTransparent);
    shell.moveTo(shell.farAway);
    shell.moveTo(shell.onNotch);
    EXPECT_TRUE(shell.expanded());
}

TEST(HoverMachine, NothingDrawnMeansNothingToHover)
{
    NotchShell shell;
    shell.geometry.hasNotch = false;
    ASSERT_EQ(NotchGeometry::surfaceSize(shell.geometry), QSizeF(0, 0));
    for (const QPointF point : {QPointF(756, 0), QPointF(756, 10), QPointF(960, 1)}) {
        shell.moveTo(point);
        EXPECT_FALSE(shell.expanded());
        EXPECT_TRUE(shell.mouseTransparent);
    }
    EXPECT_FALSE(NotchHitTest::pointerOnSurface(QSizeF(0, 0), 756, 0, {756, 0}));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(QSizeF(200, 0), 756, 0, {756, 0}, true));
}

TEST(NotchHitTest, MarginsReachSidewaysAndDownButNeverAbove)
{
    // Collapsed notch 200 x 38 centred at 756 hanging from y 100: x 656...856, y 100...138.
    const QSizeF notch(200, 38);
    const auto inside = [&](double x, double y) {
        return NotchHitTest::pointerInsidePresentedSurface(notch, 756, 100, {x, y}, false);
    };
    EXPECT_TRUE(inside(756, 100));
    EXPECT_FALSE(inside(756, 99.9));
    EXPECT_TRUE(inside(653, 120));
    EXPECT_FALSE(inside(652.9, 120));
    EXPECT_TRUE(inside(859, 120));
    EXPECT_FALSE(inside(859.1, 120));
    EXPECT_TRUE(inside(700, 141));
    EXPECT_FALSE(inside(700, 141.1));
    EXPECT_TRUE(inside(653, 141));

    // Open, the reach is 6 points.
    const QSizeF open(440, 416);
    EXPECT_TRUE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {530, 522}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {529.9, 300}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {756, 99}, true));

    // Outside clicks see the surface without any margin.
    EXPECT_TRUE(NotchHitTest::pointerOnSurface(open, 756, 100, {536, 516}));
    EXPECT_FALSE(NotchHitTest::pointerOnSurface(open, 756, 100, {535, 300}));
    EXPECT_FALSE(NotchHitTest::pointerOnSurface(open, 756, 100, {756, 517}));
}
