// Where the save dialog goes beside the open card.

#include "VisualizationDialogPlacement.h"

#include <gtest/gtest.h>

namespace {

constexpr int gap = VisualizationDialogPlacement::gap;

// A card of `size` hanging from the top edge of `screen`, centred.
QRect cardOn(const QRect &screen, QSize size)
{
    return {QPoint(screen.center().x() + 1 - size.width() / 2, screen.top()), size};
}

void expectClear(const QRect &dialog, const QRect &screen, const QRect &card)
{
    EXPECT_TRUE(screen.contains(dialog)) << dialog.x() << "," << dialog.y() << " " << dialog.width() << "x"
                                         << dialog.height();
    EXPECT_FALSE(dialog.intersects(card.adjusted(-gap, -gap, gap, gap)))
        << dialog.x() << "," << dialog.y() << " " << dialog.width() << "x" << dialog.height();
}

TEST(VisualizationDialogPlacement, BelowTheCardCentredUnderItWhenTheDialogFitsThere)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect card = cardOn(screen, {480, 402});
    const QRect dialog = VisualizationDialogPlacement::place(screen, card, {600, 340}, {420, 260});
    EXPECT_EQ(dialog.size(), QSize(600, 340));
    EXPECT_EQ(dialog.top(), card.bottom() + 1 + gap);
    EXPECT_EQ(dialog.center().x(), card.center().x());
    expectClear(dialog, screen, card);
}

TEST(VisualizationDialogPlacement, ShrinksToTheRoomBelowButNotBelowItsSmallestSize)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect card = cardOn(screen, {480, 480});
    // A gap under the card and one above the screen's edge leave 296 below.
    const QRect dialog = VisualizationDialogPlacement::place(screen, card, {600, 400}, {420, 260});
    EXPECT_EQ(dialog.size(), QSize(600, 800 - 480 - 2 * gap));
    expectClear(dialog, screen, card);
}

TEST(VisualizationDialogPlacement, BesideATallCardOnTheRoomierSide)
{
    // A screen off the origin, the card left of its centre: the right side has the room.
    const QRect screen(1920, 0, 1920, 800);
    const QRect card(QPoint(1920 + 500, 0), QSize(680, 660));
    const QRect dialog = VisualizationDialogPlacement::place(screen, card, {600, 420}, {420, 260});
    EXPECT_EQ(dialog.size(), QSize(600, 420));
    EXPECT_EQ(dialog.left(), card.right() + 1 + gap); // hugging the card
    EXPECT_EQ(dialog.top(), gap);
    expectClear(dialog, screen, card);
    // Mirrored, it goes left.
    const QRect mirrored(QPoint(1920 + 1920 - 500 - 680, 0), QSize(680, 660));
    const QRect left = VisualizationDialogPlacement::place(screen, mirrored, {600, 420}, {420, 260});
    EXPECT_EQ(left.right(), mirrored.left() - 1 - gap);
    expectClear(left, screen, mirrored);
}

TEST(VisualizationDialogPlacement, TheWholeDialogBesideIsBetterThanAShrunkOneBelow)
{
    const QRect screen(0, 0, 1920, 1080);
    const QRect card = cardOn(screen, {680, 660});
    // Below: 1080 - 660 - 2 gaps = 396, short of 420; beside: 596 wide and the full height.
    const QRect dialog = VisualizationDialogPlacement::place(screen, card, {580, 420}, {420, 260});
    EXPECT_EQ(dialog.size(), QSize(580, 420));
    EXPECT_LT(dialog.top(), card.bottom());
    expectClear(dialog, screen, card);
}

TEST(VisualizationDialogPlacement, AScreenWithNoRoomClearOfTheCardGetsTheSmallestDialogBelowItOnScreen)
{
    const QRect screen(0, 0, 1024, 700);
    const QRect card = cardOn(screen, {680, 660});
    const QRect dialog = VisualizationDialogPlacement::place(screen, card, {600, 420}, {420, 260});
    EXPECT_EQ(dialog.size(), QSize(420, 260));
    EXPECT_TRUE(screen.contains(dialog));
    EXPECT_EQ(dialog.bottom(), screen.bottom() - gap); // as low as the screen lets it
    EXPECT_EQ(dialog.center().x(), card.center().x());
}

} // namespace
