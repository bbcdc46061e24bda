#include "NotchShell.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(OutsideClick, SingleClicksCloseOnlyAnUnheldList)
{
    EXPECT_TRUE(OutsideClick::closeFromOutsideClick(1, false, false));
    EXPECT_FALSE(OutsideClick::closeFromOutsideClick(1, true, false));
    EXPECT_FALSE(OutsideClick::closeFromOutsideClick(1, false, true));
    // A double (or triple) click always closes.
    EXPECT_TRUE(OutsideClick::closeFromOutsideClick(2, true, true));
    EXPECT_TRUE(OutsideClick::closeFromOutsideClick(3, false, true));
}

TEST(OutsideClick, PinnedSurfaceClosesOnASingleClickElsewhere)
{
    NotchShell shell;
    shell.geometry.expanded = true;
    shell.pinned = true;
    shell.moveTo(shell.farAway);
    shell.clock.advance(3);
    EXPECT_TRUE(shell.expanded());

    // A click on the surface itself never dismisses; one in the hover margin beside it does.
    shell.press(Qt::LeftButton, {756, 300});
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(1);
    shell.press(Qt::LeftButton, {533, 300});
    EXPECT_FALSE(shell.expanded());
    EXPECT_FALSE(shell.pinned);
    EXPECT_TRUE(shell.mouseTransparent);
}

TEST(OutsideClick, AnOpenReaderNeedsADoubleClick)
{
    NotchShell shell;
    shell.geometry.expanded = true;
    shell.geometry.hasSelection = true;
    shell.geometry.readerSize = QSizeF(400, 352);
    shell.pinned = true;

    shell.press(Qt::LeftButton, shell.farAway);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.2);
    shell.press(Qt::LeftButton, shell.farAway + QPointF(2, 1));
    EXPECT_FALSE(shell.expanded());
    EXPECT_FALSE(shell.geometry.hasSelection);

    // Focus holds the list open against single clicks, and is released by closing.
    shell.geometry.expanded = true;
    shell.focusHoldsOpen = true;
    shell.clock.advance(1);
    shell.press(Qt::LeftButton, shell.farAway);
    EXPECT_TRUE(shell.expanded());
    shell.clock.advance(0.1);
    shell.press(Qt::LeftButton, shell.farAway);
    EXPECT_FALSE(shell.expanded());
    EXPECT_FALSE(shell.focusHoldsOpen);
}

TEST(OutsideClick, OtherButtonsAlwaysCountOnce)
{
    EXPECT_EQ(OutsideClick::dismissalClickCount(Qt::RightButton, 2), 1);
    EXPECT_EQ(OutsideClick::dismissalClickCount(Qt::MiddleButton, 5), 1);
    EXPECT_EQ(OutsideClick::dismissalClickCount(Qt::LeftButton, 2), 2);
    EXPECT_EQ(OutsideClick::dismissalClickCount(Qt::LeftButton, 0), 1);

    NotchShell shell;
    shell.geometry.expanded = true;
    shell.geometry.hasSelection = true;
    shell.geometry.readerSize = QSizeF(400, 352);
    shell.press(Qt::RightButton, shell.farAway);
    shell.press(Qt::RightButton, shell.farAway);
    EXPECT_TRUE(shell.expanded());
}

TEST(OutsideClick, AnOpenMenuSuspendsDismissal)
{
    NotchShell shell;
    shell.geometry.expanded = true;
    shell.menuBegan();
    shell.press(Qt::LeftButton, shell.farAway);
    shell.press(Qt::LeftButton, shell.farAway);
    EXPECT_TRUE(shell.expanded());
}

TEST(ClickCounter, CountsPressesOfOneButtonCloseInTimeAndPlace)
{
    ClickCounter counter(0.4, 5);
    EXPECT_EQ(counter.press(Qt::LeftButton, 10.0, {100, 100}), 1);
    EXPECT_EQ(counter.press(Qt::LeftButton, 10.3, {103, 102}), 2);
    EXPECT_EQ(counter.press(Qt::LeftButton, 10.6, {103, 102}), 3);
    // Too late, too far, another button, or a clock going backwards start a new series.
    EXPECT_EQ(counter.press(Qt::LeftButton, 11.1, {103, 102}), 1);
    EXPECT_EQ(counter.press(Qt::LeftButton, 11.2, {106, 105}), 1);
    EXPECT_EQ(counter.press(Qt::RightButton, 11.3, {106, 105}), 1);
    EXPECT_EQ(counter.press(Qt::RightButton, 11.4, {106, 105}), 2);
    EXPECT_EQ(counter.press(Qt::RightButton, 11.0, {106, 105}), 1);
    counter.reset();
    EXPECT_EQ(counter.press(Qt::RightButton, 11.1, {106, 105}), 1);

    // Both limits are inclusive: a press exactly 0.4 s later and exactly 5 points away continues the
    // series (0.9 - 0.5 is exactly 0.4); a millisecond or a hundredth of a point more does not.
    for (const auto &[delay, offset, count] : {std::tuple{0.4, QPointF(3, 2), 2}, std::tuple{0.401, QPointF(3, 2), 1},
                                               std::tuple{0.4, QPointF(-2.5, 2.51), 1}}) {
        SCOPED_TRACE(testing::Message() << delay << " s, " << offset.manhattanLength() << " points");
        ClickCounter edge(0.4, 5);
        edge.press(Qt::LeftButton, 0.5, {100, 100});
        EXPECT_EQ(edge.press(Qt::LeftButton, 0.5 + delay, QPointF(100, 100) + offset), count);
    }
}
