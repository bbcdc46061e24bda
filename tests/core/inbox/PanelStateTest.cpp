#include "inbox/PanelState.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

class PanelStateTest : public ::testing::Test
{
protected:
    PanelStateTest()
        : panel({.geometry = [this] { ++geometry; },
                 .selecting = [this] { return selected; },
                 .deselect = [this] { selected = false; }})
    {
        panel.setOnHoverStateChange([this] { ++hover; });
    }

    int geometry = 0;
    int hover = 0;
    bool selected = false;
    PanelState panel;
};

} // namespace

TEST_F(PanelStateTest, OpeningMovesWithTheExpandProfileAndTellsGeometryAndHover)
{
    int opened = 0;
    panel.setOnOpen([&] { ++opened; });
    QSignalSpy expanded(&panel, &PanelState::expandedChanged);
    panel.open();
    EXPECT_TRUE(panel.expanded());
    EXPECT_EQ(panel.geometryProfile(), NotchMotion::profileForExpandedChange());
    EXPECT_EQ(expanded.count(), 1);
    EXPECT_EQ(geometry, 1);
    EXPECT_EQ(hover, 1);
    EXPECT_EQ(opened, 1);
    panel.open(); // already open: only the open callback runs again
    EXPECT_EQ(expanded.count(), 1);
    EXPECT_EQ(geometry, 1);
    EXPECT_EQ(opened, 2);
}

TEST_F(PanelStateTest, ClosingReleasesEverythingThatHoldsThePanelOpen)
{
    panel.open();
    panel.setPinned(true);
    panel.setFocusHoldsOpen(true);
    selected = true;
    panel.close();
    EXPECT_FALSE(panel.expanded());
    EXPECT_FALSE(panel.pinned());
    EXPECT_FALSE(panel.focusHoldsOpen());
    EXPECT_FALSE(selected);
}

TEST_F(PanelStateTest, ASingleOutsideClickClosesOnlyWhatNothingHoldsOpen)
{
    panel.open();
    selected = true;
    EXPECT_FALSE(panel.closeFromOutsideClick(1));
    EXPECT_TRUE(panel.expanded());
    selected = false;
    panel.setFocusHoldsOpen(true);
    EXPECT_FALSE(panel.closeFromOutsideClick(1));
    EXPECT_TRUE(panel.closeFromOutsideClick(2));
    EXPECT_FALSE(panel.expanded());
    panel.open();
    EXPECT_TRUE(panel.closeFromOutsideClick(1));
}

TEST_F(PanelStateTest, ScreenValuesNotifyAndReshapeOnlyWhenTheyChange)
{
    QSignalSpy width(&panel, &PanelState::notchWidthChanged);
    panel.setNotchWidth(180.0); // the default
    EXPECT_EQ(width.count(), 0);
    EXPECT_EQ(geometry, 0);
    panel.setNotchWidth(200.0);
    panel.setTopInset(40.0);
    panel.setHasNotch(true);
    panel.setKeepsTab(true);
    EXPECT_EQ(width.count(), 1);
    EXPECT_EQ(geometry, 4);
    EXPECT_EQ(hover, 0);
}

TEST_F(PanelStateTest, ASelectionChangeShowsTheReaderInFull)
{
    panel.open();
    panel.setReaderTucked(true);
    EXPECT_EQ(panel.geometryProfile(), NotchMotion::profileForReaderTuckedChange(true));
    panel.selectionChanged();
    EXPECT_FALSE(panel.readerTucked());
    EXPECT_EQ(panel.geometryProfile(), NotchMotion::profileForSelectionChange(true));
}
