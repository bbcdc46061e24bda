// The attachment's save dialog on a real X server with openbox: the user presses "Download visualization"
// on the open card with the X pointer, and the dialog must show where it can be seen and used.

#include "X11Session.h"

namespace {

class VisualizationSaveX11Test : public X11Session
{
protected:
    // A common laptop screen: the reader's card takes most of its height, and leaves room beside it.
    VisualizationSaveX11Test() { serverSize = QSize(1920, 1080); }

    // The viewable window named `name` below `parent`, searched a few levels down (openbox frames clients).
    std::optional<xcb_window_t> findNamed(xcb_window_t parent, const QString &name, int depth = 0)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr), &std::free);
        if (!tree)
            return std::nullopt;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (windowName(children[i]) == name && viewable(children[i]))
                return children[i];
            if (depth < 3) {
                if (const std::optional<xcb_window_t> found = findNamed(children[i], name, depth + 1))
                    return found;
            }
        }
        return std::nullopt;
    }

    // The child of the root that holds `window` (its window manager's frame, or the window itself).
    xcb_window_t topLevelOf(xcb_window_t window)
    {
        for (;;) {
            Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
            if (!tree || tree->parent == screen->root || tree->parent == XCB_WINDOW_NONE)
                return window;
            window = tree->parent;
        }
    }

    // Where the root's children stand in the stacking order, bottom first.
    int stackingIndex(xcb_window_t topLevel)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr), &std::free);
        if (!tree)
            return -1;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            if (children[i] == topLevel)
                return i;
        }
        return -1;
    }

    // The window's area in root coordinates.
    QRect rootArea(xcb_window_t window)
    {
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
        Reply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(
                connection, xcb_translate_coordinates(connection, window, screen->root, 0, 0), nullptr),
            &std::free);
        if (!geometry || !origin)
            return {};
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }

    // The card as drawn: the panel's bounding shape (no compositing manager runs here), in root coordinates.
    QRect cardArea(xcb_window_t panel)
    {
        QRect drawn;
        for (const QRect &r : boundingShape(panel))
            drawn |= r;
        return drawn.translated(rootArea(panel).topLeft());
    }

    QList<uint32_t> transientFor(xcb_window_t window) { return property32(window, "WM_TRANSIENT_FOR"); }
};

TEST_F(VisualizationSaveX11Test, TheSaveDialogShowsAboveThePanelAndClearOfTheCardWhichStaysOpen)
{
    startNotch(app, {QStringLiteral("--demo"), QStringLiteral("--visualization-demo")},
               QStringLiteral(DOWNLOAD_BUTTON_APP_PATH));
    std::optional<xcb_window_t> panel;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (panel = findPanel(screen->root)).has_value(); }, 20000));
    // The attachment is at the end of the message: the user scrolls down to it on the card.
    QPoint button;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!app.canReadLine()) {
                clickButton(serverSize.width() / 2, 200, 5);
                return false;
            }
            const QStringList words = QString::fromUtf8(app.readLine()).split(u' ');
            if (words.value(0) != QLatin1String("downloadButton"))
                return false;
            button = QPoint(words.value(1).toInt(), words.value(2).trimmed().toInt());
            return true;
        },
        60000))
        << qPrintable(QString::fromUtf8(app.readAllStandardError()));
    const QRect card = cardArea(*panel);
    const QList<QRect> openShape = inputShape(*panel);
    ASSERT_TRUE(card.contains(button)) << "button at " << button.x() << "," << button.y();

    click(button.x(), button.y());
    std::optional<xcb_window_t> dialog;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = findNamed(screen->root, QStringLiteral("Save As"))).has_value(); },
                                10000));
    // Managed and placed by the window manager before it is judged.
    QTest::qWait(500);
    const xcb_window_t dialogFrame = topLevelOf(*dialog);
    const QRect dialogArea = rootArea(dialogFrame);

    // The panel's own dialog: transient for it, kept above like it, and stacked over it.
    EXPECT_EQ(transientFor(*dialog), QList<uint32_t>{*panel});
    EXPECT_TRUE(property32(*dialog, "_NET_WM_STATE").contains(atom("_NET_WM_STATE_ABOVE")));
    EXPECT_GT(stackingIndex(dialogFrame), stackingIndex(topLevelOf(*panel)));
    // On the panel's screen, whole, and nowhere over the card.
    EXPECT_TRUE(QRect(QPoint(0, 0), serverSize).contains(dialogArea))
        << dialogArea.x() << "," << dialogArea.y() << " " << dialogArea.width() << "x" << dialogArea.height();
    EXPECT_FALSE(dialogArea.intersects(card))
        << "dialog " << dialogArea.x() << "," << dialogArea.y() << " " << dialogArea.width() << "x"
        << dialogArea.height() << ", card " << card.x() << "," << card.y() << " " << card.width() << "x"
        << card.height();

    // The card stays open while the dialog shows, with the pointer on the dialog and after a click on it.
    move(dialogArea.center().x(), dialogArea.top() + 8);
    QTest::qWait(800);
    EXPECT_EQ(inputShape(*panel), openShape);
    click(dialogArea.center().x(), dialogArea.top() + 8); // its title bar
    QTest::qWait(800);
    EXPECT_EQ(inputShape(*panel), openShape);
    EXPECT_TRUE(findNamed(screen->root, QStringLiteral("Save As")).has_value());

    // Cancelled, the dialog goes and the card is still there.
    key(QStringLiteral("Escape"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !findNamed(screen->root, QStringLiteral("Save As")).has_value(); }, changeLimitMs));
    QTest::qWait(500);
    EXPECT_EQ(inputShape(*panel), openShape);
}

} // namespace
