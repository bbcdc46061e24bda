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

// The timing rules at their edges. The machine is driven at chosen times so that every difference
// it takes is exact: a visit runs from -v to 0, and an evaluation at t after leaving at 0 comes
// exactly t seconds later.
TEST(HoverMachine, DwellAndExitDelaysHoldToTheirEdges)
{
    const auto open = [](double now, bool inside) {
        return HoverMachine::Input{.inside = inside, .now = now, .expanded = true};
    };
    struct Case
    {
        double visit;
        bool engaged;
        double exitDelay;
    };
    for (const Case c : {Case{0.649, false, 0.12}, Case{0.65, true, 0.5}}) {
        SCOPED_TRACE(c.visit);
        // Seen still inside at the end of the visit.
        HoverMachine staying;
        staying.update(open(-c.visit, true));
        staying.update(open(0, true));
        EXPECT_EQ(staying.intent().engaged, c.engaged);

        // Seen outside first: the visit ended between two evaluations.
        HoverMachine leaving;
        leaving.update(open(-c.visit, true));
        HoverMachine::Actions actions = leaving.update(open(0, false));
        EXPECT_EQ(leaving.intent().engaged, c.engaged);
        EXPECT_EQ(actions.recheckAfter, c.exitDelay);
        actions = leaving.update(open(c.exitDelay - 1e-3, false));
        EXPECT_FALSE(actions.close);
        // Due in less than a millisecond: the re-check still waits one.
        actions = leaving.update(open(c.exitDelay - 1e-7, false));
        EXPECT_FALSE(actions.close);
        EXPECT_EQ(actions.recheckAfter, 0.001);
        actions = leaving.update(open(c.exitDelay, false));
        EXPECT_TRUE(actions.close);
        EXPECT_EQ(actions.recheckAfter, std::nullopt);
    }
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
    EXPECT_FALSE(inside(756, 99.999));
    EXPECT_TRUE(inside(653, 120));
    EXPECT_FALSE(inside(652.999, 120));
    EXPECT_TRUE(inside(859, 120));
    EXPECT_FALSE(inside(859.001, 120));
    EXPECT_TRUE(inside(700, 141));
    EXPECT_FALSE(inside(700, 141.001));
    EXPECT_TRUE(inside(653, 141));

    // Open, the reach is 6 points.
    const QSizeF open(440, 416);
    EXPECT_TRUE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {530, 522}, true));
    EXPECT_TRUE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {982, 522}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {529.999, 300}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {982.001, 300}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {756, 522.001}, true));
    EXPECT_FALSE(NotchHitTest::pointerInsidePresentedSurface(open, 756, 100, {756, 99.999}, true));

    // Outside clicks see the surface without any margin.
    EXPECT_TRUE(NotchHitTest::pointerOnSurface(open, 756, 100, {536, 516}));
    EXPECT_FALSE(NotchHitTest::pointerOnSurface(open, 756, 100, {535.999, 300}));
    EXPECT_FALSE(NotchHitTest::pointerOnSurface(open, 756, 100, {756, 516.001}));
}
