// The panel on a real X server with a window manager: clicks outside the visible surface reach the window
// below it, clicks on the surface do not. Starts its own Xvfb and openbox, and skips when they are missing.

#include "X11Session.h"

namespace {

using PanelX11Test = X11Session;

TEST_F(PanelX11Test, ClicksOutsideTheSurfacePassThroughAndHoverOpensTheTab)
{
    const xcb_window_t observer = mapObserver();
    // Managed before the panel comes. A window manager that is still starting may miss the first request.
    QElapsedTimer sinceMap;
    sinceMap.start();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, observer), nullptr),
                &std::free);
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                return true;
            if (sinceMap.elapsed() > 300) {
                xcb_map_window(connection, observer);
                xcb_flush(connection);
                sinceMap.restart();
            }
            return false;
        },
        10000));
    app.setProcessEnvironment(environment);
    app.start(notch, {QStringLiteral("--demo")});
    ASSERT_TRUE(app.waitForStarted(changeLimitMs));

    // The demo starts open: a 440 x 402 card at the top centre; it takes the pointer there and 6 points
    // around its sides and bottom.
    std::optional<xcb_window_t> panel;
    const QList<QRect> open{QRect(360 - 220 - 6, 0, 440 + 12, 402 + 6)};
    ASSERT_TRUE(waitForPanel(panel, open, app))
        << "panel found: " << panel.has_value() << ", application running: " << (app.state() == QProcess::Running);
    pressesReceived(300); // anything from start-up

    click(screenWidth / 2, 200); // on the card
    EXPECT_EQ(pressesReceived(400), 0);

    click(screenWidth / 2 + 320, 200); // beside the card, still over the 720-point panel window
    EXPECT_EQ(pressesReceived(400), 1);

    // That click was outside the surface: it collapsed to the tab beside the notch.
    const QList<QRect> tab{QRect(360 - 90 - 3, 0, 180 + 6, 24 + 3)};
    EXPECT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel) == tab; }, changeLimitMs));
    click(screenWidth / 2, 200); // where the card was
    EXPECT_EQ(pressesReceived(400), 1);

    // Hovering the tab opens it at once; leaving closes it again after the short exit delay.
    move(screenWidth / 2, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel) == open; }, changeLimitMs));
    move(screenWidth / 2 + 320, 600);
    EXPECT_TRUE(QTest::qWaitFor([&] { return inputShape(*panel) == tab; }, changeLimitMs));
}

} // namespace
