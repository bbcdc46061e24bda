#include "notch/NotchGeometry.h"
#include "notch/NotchSurfaceStyle.h"

#include <gtest/gtest.h>

namespace {

// A 1512-point-wide notched screen: safe-area top 38, menu-bar areas ending at 656 and starting at 856.
const QRectF notchedFrame(0, 0, 1512, 982);
const NotchMetrics notched = NotchGeometry::metrics(38, 656.0, 856.0, notchedFrame);

NotchGeometry::State stateOn(const NotchMetrics &metrics)
{
    NotchGeometry::State state;
    state.hasNotch = metrics.hasNotch;
    state.topInset = metrics.topInset;
    state.notchWidth = metrics.notchWidth;
    return state;
}

} // namespace

TEST(NotchGeometry, MeasuresTheNotchFromTheMenuBarAreasBesideIt)
{
    EXPECT_EQ(notched, (NotchMetrics{true, 38, 200, 756}));

    // A notched screen that does not report the areas: default notch, centred on the frame.
    EXPECT_EQ(NotchGeometry::metrics(38, std::nullopt, 856.0, QRectF(100, 0, 1000, 800)),
              (NotchMetrics{true, 38, 140, 600}));
    // Areas are ignored without a safe-area inset.
    EXPECT_EQ(NotchGeometry::metrics(0, 656.0, 856.0, notchedFrame), (NotchMetrics{false, 24, 140, 756}));
    // Overlapping areas cannot describe a notch: fall back instead of a negative width.
    EXPECT_EQ(NotchGeometry::metrics(38, 900.0, 856.0, notchedFrame), (NotchMetrics{true, 38, 140, 756}));
    EXPECT_EQ(NotchGeometry::metrics(38, 856.0, 856.0, notchedFrame).notchWidth, 140);
}

TEST(NotchGeometry, ScreenWithoutNotchShowsNothingUntilMailIsUnread)
{
    const NotchMetrics plain = NotchGeometry::metrics(0, std::nullopt, std::nullopt, QRectF(0, 0, 1920, 1080));
    NotchGeometry::State state = stateOn(plain);

    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::collapsed, QSizeF(0, 0)}));

    state.totalUnread = 3;
    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::collapsed, QSizeF(180, 24)}));
}

TEST(NotchGeometry, AKeptTabStaysWithNothingUnreadAndOpensAsUsual)
{
    NotchGeometry::State state = stateOn(NotchGeometry::metrics(0, std::nullopt, std::nullopt, QRectF(0, 0, 1920, 1080)));
    state.keepsTab = true;
    // The tab of an unread message, though nothing is unread.
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(180, 24));
    state.totalUnread = 2;
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(180, 24));
    state.expanded = true;
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(440, 402));
    // On a notch it is the same tab beside the notch.
    state = stateOn(NotchGeometry::metrics(38, 656.0, 856.0, QRectF(0, 0, 1512, 982)));
    state.keepsTab = true;
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(240, 38));
}

TEST(NotchGeometry, CollapsedOnANotchIsTheNotchItselfOrATabBesideIt)
{
    NotchGeometry::State state = stateOn(notched);
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(200, 38));
    state.totalUnread = 1;
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(240, 38));

    const NotchSurfaceStyle collapsed = NotchSurfaceStyle::of(false, true);
    EXPECT_EQ(collapsed.topCornerRadius, 0);
    EXPECT_EQ(collapsed.bottomCornerRadius, 8);
    EXPECT_FALSE(collapsed.handleVisible);

    const NotchSurfaceStyle open = NotchSurfaceStyle::of(true, false);
    EXPECT_EQ(open.topCornerRadius, 10);
    EXPECT_EQ(open.bottomCornerRadius, 30);
    EXPECT_TRUE(open.handleVisible);
}

TEST(NotchGeometry, OpenSurfaceWrapsItsContentInPadding)
{
    NotchGeometry::State state = stateOn(notched);
    state.expanded = true;
    EXPECT_EQ(NotchGeometry::presentation(state), (NotchPresentation{NotchPresentation::Phase::list, QSizeF(440, 416)}));

    // The reader size is ignored without a selection.
    state.readerSize = QSizeF(620, 660);
    EXPECT_EQ(NotchGeometry::surfaceSize(state), QSizeF(440, 416));

    state.hasSelection = true;
    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::reader, QSizeF(660, 38 + 686)}));

    // A long message in its short form keeps its width and takes 200 points of content height.
    state.readerSize = QSizeF(500, 480);
    state.readerTucked = true;
    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::preview, QSizeF(540, 38 + 200 + 26)}));
    state.readerTucked = false;
    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::reader, QSizeF(540, 38 + 480 + 26)}));

    // Collapsing forgets the card: with a selection left over, it is still the notch.
    state.expanded = false;
    EXPECT_EQ(NotchGeometry::presentation(state),
              (NotchPresentation{NotchPresentation::Phase::collapsed, QSizeF(200, 38)}));
}

TEST(NotchGeometry, OnlyLongMessagesCanBeShortened)
{
    EXPECT_FALSE(NotchGeometry::canResizeReader(false, 500));
    EXPECT_FALSE(NotchGeometry::canResizeReader(true, 352));
    EXPECT_TRUE(NotchGeometry::canResizeReader(true, 352.5));
    EXPECT_EQ(NotchGeometry::contentHeight(true, true, QSizeF(400, 352)), 200);
}
