// The list views in the running shell, on the offscreen platform: what they draw (checked on geometry and
// a few pixels), what clicks and menus do, and what a screen reader is told.

#include "AppTestSupport.h"
#include "FakeRunner.h"
#include "SnapshotJson.h"

#include "inbox/FilterText.h"
#include "inbox/ScopeMenuText.h"
#include "views/PanelMenu.h"

#include "content/StrictBase64.h"
#include "inbox/DemoVisualizationPage.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QQuickWindow>
#include <QElapsedTimer>
#include <QTest>

namespace {

// An entry's title as the menu shows it ("&&" draws one ampersand).
QString shown(const QAction *action)
{
    QString text = action->text();
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("---") : shown(action));
    return texts;
}

QAction *actionNamed(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (shown(action) == text)
            return action;
    }
    return nullptr;
}

class Views : public AppFixture
{
protected:
    void launchDemo()
    {
        launch({QStringLiteral("--demo")});
        ASSERT_TRUE(app->panel()->rootView()) << qPrintable(app->panel()->loadError());
        settle();
    }
    QList<QQuickItem *> all(const QString &name) const
    {
        QList<QQuickItem *> found;
        collectVisible(app->panel()->contentItem(), name, found);
        return found;
    }
    QQuickItem *item(const QString &name) const
    {
        const QList<QQuickItem *> found = all(name);
        return found.isEmpty() ? nullptr : found.first();
    }
    QQuickItem *row(int index) const
    {
        QList<QQuickItem *> rows = all(QStringLiteral("messageRow"));
        std::sort(rows.begin(), rows.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
        return index < rows.size() ? rows.at(index) : nullptr;
    }
    QPoint centreOf(QQuickItem *target) const
    {
        return target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
    }
    void click(QQuickItem *target)
    {
        ASSERT_TRUE(target);
        QTest::mouseClick(app->panel(), Qt::LeftButton, {}, centreOf(target));
        settle();
    }
    QImage frame() { return app->panel()->grabWindow(); }
    // The list and the reader cross-fade (a fifth of a second even with reduced motion): waits for it.
    QQuickItem *waitForOpaque(const QString &name)
    {
        QQuickItem *found = nullptr;
        const bool opaque = QTest::qWaitFor([&] {
            app->panel()->grabWindow();
            found = item(name);
            for (QQuickItem *up = found; up; up = up->parentItem())
                if (up->opacity() < 1)
                    return false;
            return found != nullptr;
        });
        return opaque ? found : nullptr;
    }
    QMenu *openMenu() const
    {
        const QList<PanelMenu *> open = PanelMenu::activity().openMenus();
        return open.isEmpty() ? nullptr : open.first()->menu();
    }
    void choose(const QString &text)
    {
        QMenu *menu = openMenu();
        ASSERT_TRUE(menu);
        QAction *action = actionNamed(menu, text);
        ASSERT_TRUE(action) << qPrintable(actionTexts(menu).join(QLatin1Char('|')));
        action->trigger();
        menu->close();
        settle();
    }
    static QString text(QQuickItem *target) { return target ? target->property("text").toString() : QString(); }
};

} // namespace

TEST_F(Views, CollapsedWithThreeUnreadShowsTheSmallIconTheGapAndTheCount)
{
    launchDemo();
    clock.advance(10); // the demo's simulated arrival and its announcement are over
    QList<Message> messages = inbox().messages();
    int unread = 0;
    for (Message &message : messages)
        message.unread = message.unread && ++unread <= 3;
    ASSERT_GE(unread, 3);
    inbox().setMessages(messages);
    inbox().close();
    settle();
    ASSERT_EQ(inbox().totalUnreadCount(), 3);
    ASSERT_FALSE(inbox().expanded());

    QQuickItem *bar = item(QStringLiteral("notchBar"));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->height(), inbox().topInset());
    QQuickItem *counter = item(QStringLiteral("unreadCount"));
    ASSERT_TRUE(counter);
    EXPECT_EQ(counter->property("value").toInt(), 3);
    QQuickItem *indicator = item(QStringLiteral("unreadIndicator"));
    const QRectF surface = item(QStringLiteral("notchSurface"))->mapRectToScene(
        QRectF(0, 0, item(QStringLiteral("notchSurface"))->width(), item(QStringLiteral("notchSurface"))->height()));
    EXPECT_EQ(surface.size(), QSizeF(inbox().compactWidth(), inbox().topInset()));
    // Icon on the left of the notch, count on its right.
    const double notchLeft = surface.center().x() - inbox().notchWidth() / 2;
    const double notchRight = surface.center().x() + inbox().notchWidth() / 2;
    EXPECT_LE(surface.left() + 6 + 14, notchLeft);
    QQuickItem *icon = nullptr;
    for (QQuickItem *child : bar->childItems())
        if (child->inherits("QQuickImage"))
            icon = child;
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width(), 14);
    EXPECT_DOUBLE_EQ(icon->opacity(), 0.7);
    EXPECT_LE(icon->mapRectToScene(QRectF(0, 0, icon->width(), icon->height())).right(), notchLeft);
    const QRectF digitRect = counter->mapRectToScene(QRectF(0, 0, counter->width(), counter->height()));
    EXPECT_GE(digitRect.left(), notchRight);
    EXPECT_LE(indicator->mapRectToScene(QRectF(0, 0, indicator->width(), indicator->height())).right(),
              surface.right() - 6);

    const QImage image = frame();
    // The surface is black; beside it the window is clear.
    const QPoint inside(int(surface.left()) + 3, int(surface.center().y()));
    EXPECT_EQ(qAlpha(image.pixel(inside)), 255);
    EXPECT_LT(qGray(image.pixel(inside)), 10);
    if (image.hasAlphaChannel()) {
        EXPECT_EQ(qAlpha(image.pixel(int(surface.left()) - 20, 5)), 0);
    }
    // The count's digit is drawn in white (at 0.85).
    bool drawn = false;
    const QRect digit = counter->mapRectToScene(QRectF(0, 0, counter->width(), counter->height())).toAlignedRect();
    for (int x = digit.left(); x <= digit.right() && !drawn; ++x)
        for (int y = digit.top(); y <= digit.bottom() && !drawn; ++y)
            drawn = qGray(image.pixel(x, y)) > 150;
    EXPECT_TRUE(drawn);
}

TEST_F(Views, TheOpenDemoListDrawsOneCardPerVisibleMessage)
{
    launchDemo();
    const QList<Message> visible = inbox().visible();
    ASSERT_FALSE(visible.isEmpty());
    QQuickItem *first = row(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->property("sender").toString(), visible.first().sender);
    EXPECT_EQ(first->width(), inbox().contentWidth());
    EXPECT_EQ(int(all(QStringLiteral("messageRow")).size()), std::min(int(visible.size()), 6));
    // Rows are 5 apart.
    if (QQuickItem *second = row(1)) {
        EXPECT_EQ(second->y() - (first->y() + first->height()), 5);
    }

    // The card is a faint white over the black surface; its focus tint is clear.
    const QImage image = frame();
    const QPoint card = first->mapToScene(QPointF(4, first->height() / 2)).toPoint();
    const int grey = qGray(image.pixel(card));
    EXPECT_GT(grey, 3);
    EXPECT_LT(grey, 30);
    QQuickItem *tint = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("focusTint")))
        if (candidate->parentItem()->parentItem() == first)
            tint = candidate;
    ASSERT_TRUE(tint);
    EXPECT_EQ(tint->property("color").value<QColor>().alpha(), 0);
}

TEST_F(Views, AFocusedRowTakesThePinkTintAndMovesToTheTop)
{
    launchDemo();
    const Message target = inbox().visible().at(1);
    ASSERT_TRUE(target.released);
    QQuickItem *second = row(1);
    ASSERT_TRUE(second);
    QQuickItem *button = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("focusButton")))
        if (second->isAncestorOf(candidate))
            button = candidate;
    ASSERT_TRUE(button);
    click(button);
    EXPECT_TRUE(inbox().focusedIDs().contains(target.id));

    QQuickItem *first = row(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->property("messageId").toString(), Message::canonical(target.id));
    QQuickItem *tint = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("focusTint")))
        if (first->isAncestorOf(candidate))
            tint = candidate;
    ASSERT_TRUE(tint);
    const QColor colour = tint->property("color").value<QColor>();
    EXPECT_NEAR(colour.alphaF(), 0.04, 0.005);
    EXPECT_EQ(colour.red(), 237);
    // Drawn: the focused card is pinker than a plain one.
    const QImage image = frame();
    const QRgb focused = image.pixel(first->mapToScene(QPointF(4, first->height() / 2)).toPoint());
    EXPECT_GT(qRed(focused), qBlue(focused));
    EXPECT_EQ(item(QStringLiteral("focusedChip"))->property("title").toString(), QStringLiteral("Focused 1"));
}

TEST_F(Views, EmptyStatesAndTheErrorLine)
{
    launchDemo();
    const auto emptyTitle = [this] { return text(item(QStringLiteral("emptyTitle"))); };
    EXPECT_FALSE(item(QStringLiteral("emptyState")));

    inbox().setFilter(InboxFilter::focused);
    settle();
    EXPECT_EQ(emptyTitle(), QStringLiteral("No focused messages"));

    inbox().setFilter(InboxFilter::all);
    inbox().setQuery(QStringLiteral("no such words anywhere"));
    settle();
    EXPECT_EQ(emptyTitle(), QStringLiteral("No matching messages"));

    inbox().setQuery(QString());
    inbox().switchScope(InboxScope::demoTeamLaunch());
    QList<Message> messages = inbox().messages();
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [](const Message &m) { return m.kind == ConversationKind::direct; }),
                   messages.end());
    inbox().setMessages(messages);
    inbox().setFilter(InboxFilter::direct);
    settle();
    EXPECT_EQ(emptyTitle(), QStringLiteral("No direct messages"));

    inbox().setFilter(InboxFilter::unread);
    for (Message &message : messages)
        message.unread = false;
    inbox().setMessages(messages);
    settle();
    EXPECT_EQ(emptyTitle(), QStringLiteral("You're all caught up"));

    // The action error: orange, under the header, at most two lines.
    inbox().setActionError(QStringLiteral("Could not confirm the saved change."));
    settle();
    QQuickItem *error = item(QStringLiteral("actionError"));
    ASSERT_TRUE(error);
    EXPECT_EQ(text(error), QStringLiteral("Could not confirm the saved change."));
    EXPECT_EQ(error->property("maximumLineCount").toInt(), 2);
    const QImage image = frame();
    const QRect area = error->mapRectToScene(QRectF(0, 0, error->width(), error->height())).toAlignedRect();
    bool orange = false;
    for (int x = area.left(); x <= area.right() && !orange; ++x)
        for (int y = area.top(); y <= area.bottom() && !orange; ++y) {
            const QRgb pixel = image.pixel(x, y);
            orange = qRed(pixel) > 180 && qGreen(pixel) > 90 && qBlue(pixel) < 60;
        }
    EXPECT_TRUE(orange);
}

TEST_F(Views, SearchTogglesFocusTheFieldAndClosingClearsTheQuery)
{
    launchDemo();
    QQuickItem *toggle = item(QStringLiteral("searchToggle"));
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->property("help").toString(), QStringLiteral("Search messages"));
    inbox().close();
    settle();
    click(item(QStringLiteral("notchBar"))); // open again, pinned
    click(toggle);
    EXPECT_TRUE(inbox().expanded());
    QQuickItem *field = item(QStringLiteral("searchField"));
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->hasActiveFocus());
    EXPECT_EQ(toggle->property("help").toString(), QStringLiteral("Close search"));

    for (const char key : std::string_view("coffee"))
        QTest::keyClick(app->panel(), key);
    settle();
    EXPECT_EQ(inbox().query(), QStringLiteral("coffee"));
    EXPECT_EQ(inbox().visibleMessages()->rowCount(), 1);

    click(toggle);
    EXPECT_TRUE(inbox().query().isEmpty());
    EXPECT_FALSE(field->hasActiveFocus());
    EXPECT_EQ(inbox().visibleMessages()->rowCount(), int(inbox().visible().size()));
}

// A tooltip is made when the pointer first rests on its button, not with the card, and shows its text as plain
// text after its delay.
TEST_F(Views, ATooltipIsMadeWhenFirstHoveredAndShowsItsTextAsPlainText)
{
    launchDemo();
    const auto popups = [&] {
        int count = 0;
        for (const QObject *object : app->panel()->rootView()->findChildren<QObject *>())
            count += QLatin1String(object->metaObject()->className()).startsWith(QLatin1String("NotchToolTipPopup"));
        return count;
    };
    const auto shownTip = [&]() -> QQuickItem * {
        QList<QQuickItem *> texts;
        collectVisible(app->panel()->contentItem(), QString(), texts);
        for (QQuickItem *text : texts) {
            if (text->property("text").toString() == QLatin1String("Search messages") &&
                QLatin1String(text->metaObject()->className()).startsWith(QLatin1String("QQuickText")))
                return text;
        }
        return nullptr;
    };
    EXPECT_EQ(popups(), 0);
    QQuickItem *toggle = item(QStringLiteral("searchToggle"));
    ASSERT_TRUE(toggle);
    QTest::mouseMove(app->panel(), centreOf(toggle));
    settle();
    EXPECT_EQ(popups(), 1);
    QQuickItem *tip = nullptr;
    QElapsedTimer waited;
    waited.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return (tip = shownTip()) != nullptr; }, 5000));
    ASSERT_TRUE(tip);
    EXPECT_GE(waited.elapsed(), 500); // its delay, also the first time
    EXPECT_EQ(tip->property("textFormat").toInt(), int(Qt::PlainText));
}

TEST_F(Views, ChipsTheFilterMenuAndClear)
{
    launchDemo();
    EXPECT_FALSE(item(QStringLiteral("directChip"))) << "no DMs chip in the personal inbox";
    click(item(QStringLiteral("focusedChip")));
    EXPECT_EQ(inbox().filter(), InboxFilter::focused);
    click(item(QStringLiteral("allChip")));
    EXPECT_EQ(inbox().filter(), InboxFilter::all);

    inbox().switchScope(InboxScope::demoTeamLaunch());
    settle();
    QQuickItem *direct = item(QStringLiteral("directChip"));
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->property("title").toString(), FilterText::directChip(inbox().directUnreadCount()));

    click(item(QStringLiteral("filterButton")));
    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(app->menuTracking()) << "an open menu holds hover and outside clicks";
    const QStringList entries = actionTexts(openMenu());
    EXPECT_EQ(entries.at(2), QStringLiteral("Needs review (%1)").arg(inbox().reviewCount()));
    EXPECT_EQ(entries.last(), QStringLiteral("Conversations"));
    choose(QStringLiteral("Unread (%1)").arg(inbox().unreadCount()));
    EXPECT_FALSE(app->menuTracking());
    EXPECT_EQ(inbox().filter(), InboxFilter::unread);
    inbox().setKind(ConversationKind::direct);
    inbox().setQuery(QStringLiteral("a"));
    settle();
    QQuickItem *summary = item(QStringLiteral("filterSummary"));
    ASSERT_TRUE(summary);
    EXPECT_EQ(inbox().controls()->activeFilterSummary(), QStringLiteral("Unread · Direct"));
    EXPECT_EQ(item(QStringLiteral("filterButton"))->property("tint").value<QColor>().red(), 237);

    click(item(QStringLiteral("clearFilters")));
    EXPECT_EQ(inbox().filter(), InboxFilter::all);
    EXPECT_EQ(inbox().kind(), std::nullopt);
    EXPECT_EQ(inbox().query(), QStringLiteral("a"));
    EXPECT_FALSE(item(QStringLiteral("filterSummary")));
}

TEST_F(Views, LabelMenusMarkTheCurrentLabelAndChangeIt)
{
    launchDemo();
    const QStringList labels = inbox().labels();
    ASSERT_GE(labels.size(), 2);
    inbox().setLabel(labels.at(1));
    settle();
    click(item(QStringLiteral("labelFilterMenu")));
    ASSERT_TRUE(openMenu());
    QStringList expected{Inbox::allLabels, QStringLiteral("---")};
    for (const QString &label : labels)
        expected.append(label == labels.at(1) ? label + QStringLiteral(" ✓") : label);
    EXPECT_EQ(actionTexts(openMenu()), expected);
    EXPECT_FALSE(actionNamed(openMenu(), labels.at(0))->icon().isNull()) << "each label shows its swatch";
    choose(labels.at(0));
    EXPECT_EQ(inbox().label(), labels.at(0));

    // The demo's team label menu changes a message's label.
    inbox().setLabel(Inbox::allLabels);
    inbox().switchScope(InboxScope::demoTeamLaunch());
    settle();
    QQuickItem *face = item(QStringLiteral("teamLabelFace"));
    ASSERT_TRUE(face);
    const QString id = face->parentItem()->property("messageId").toString();
    click(face);
    ASSERT_TRUE(openMenu());
    QString other;
    for (QAction *action : openMenu()->actions())
        if (action->icon().isNull())
            other = shown(action);
    ASSERT_FALSE(other.isEmpty());
    choose(other);
    const auto changed = std::find_if(inbox().messages().cbegin(), inbox().messages().cend(),
                                      [&](const Message &m) { return Message::canonical(m.id) == id; });
    ASSERT_NE(changed, inbox().messages().cend());
    EXPECT_EQ(changed->category, other);
}

TEST_F(Views, TheScopeAndInboxMenusSwitchInboxes)
{
    launchDemo();
    click(item(QStringLiteral("inboxTitle")));
    ASSERT_TRUE(openMenu());
    QStringList expected;
    for (const InboxScope &scope : inbox().sortedScopes())
        expected.append(ScopeMenuText::scopeEntry(ScopeMenuText::name(inbox().scopeNames(), scope),
                                                  inbox().unreadCount(scope)));
    EXPECT_EQ(actionTexts(openMenu()), expected);
    choose(ScopeMenuText::scopeEntry(QStringLiteral("Launch crew"), inbox().unreadCount(InboxScope::demoTeamLaunch())));
    EXPECT_EQ(inbox().scope(), InboxScope::demoTeamLaunch());

    inbox().close();
    settle();
    click(item(QStringLiteral("unreadIndicator")));
    ASSERT_TRUE(openMenu());
    const QStringList entries = actionTexts(openMenu());
    EXPECT_EQ(entries.filter(QStringLiteral(" ✓")),
              QStringList{ScopeMenuText::inboxEntry(QStringLiteral("Launch crew"),
                                                    inbox().unreadCount(InboxScope::demoTeamLaunch()), true)});
    choose(ScopeMenuText::inboxEntry(QStringLiteral("Personal inbox"), inbox().unreadCount(InboxScope::personal()),
                                     false));
    EXPECT_EQ(inbox().scope(), InboxScope::personal());
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
}

TEST_F(Views, TheBarPinsOnOneClickAndCollapsesOnTwo)
{
    launchDemo();
    inbox().close();
    settle();
    ASSERT_FALSE(inbox().expanded());
    QQuickItem *bar = item(QStringLiteral("notchBar"));
    ASSERT_TRUE(bar);
    const QPoint onIcon = bar->mapToScene(QPointF(10, bar->height() / 2)).toPoint();
    QTest::mouseClick(app->panel(), Qt::LeftButton, {}, onIcon);
    settle();
    EXPECT_TRUE(inbox().expanded());
    EXPECT_TRUE(inbox().pinned());
    const QPoint onTitle = bar->mapToScene(QPointF(60, bar->height() / 2)).toPoint();
    QTest::mouseDClick(app->panel(), Qt::LeftButton, {}, onTitle);
    settle();
    EXPECT_FALSE(inbox().expanded());
}

TEST_F(Views, ARowClickOpensTheMessageAndTheHeaderLeadsBack)
{
    launchDemo();
    const Message message = inbox().visible().first();
    inbox().setDirectDraft(QStringLiteral("half a thought"));
    QQuickItem *first = row(0);
    ASSERT_TRUE(first);
    QQuickItem *button = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("rowButton")))
        if (first->isAncestorOf(candidate))
            button = candidate;
    click(button);
    ASSERT_EQ(inbox().selectedID(), message.id);
    EXPECT_TRUE(inbox().directDraft().isEmpty()) << "a new selection starts a fresh draft";
    EXPECT_EQ(inbox().selectedSubject(), message.subject);
    clock.advance(1);
    settle();
    click(item(QStringLiteral("inboxTitle"))); // now "Back to inbox"
    EXPECT_FALSE(inbox().selectedID());
}

TEST_F(Views, AScreenReaderReadsTheBarTheRowsAndTheirButtons)
{
    launchDemo();
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(app->panel());
    ASSERT_TRUE(window);
    QStringList names;
    QList<QAccessibleInterface *> pending{window};
    QAccessibleInterface *focusButton = nullptr;
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        const QString name = node->text(QAccessible::Name);
        names.append(name);
        if (!focusButton && name.startsWith(QStringLiteral("Focus message from ")))
            focusButton = node;
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface *child = node->child(i))
                pending.append(child);
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Tandrel, %1 unread messages across inboxes").arg(inbox().totalUnreadCount())));
    EXPECT_TRUE(names.contains(QStringLiteral("%1 unread in Personal inbox, %2 in other inboxes")
                                   .arg(inbox().unreadCount())
                                   .arg(inbox().totalUnreadCount() - inbox().unreadCount())));
    EXPECT_TRUE(names.contains(QStringLiteral("Unopened message")));
    EXPECT_TRUE(names.contains(QStringLiteral("Collapse inbox")));
    EXPECT_TRUE(names.contains(QStringLiteral("Message labels: All labels")));
    const Message first = inbox().visible().first();
    EXPECT_TRUE(names.contains(QStringLiteral("Focus message from %1: %2").arg(first.sender, first.subject)));

    // The focus button is operable: its action focuses the message, and its state is read back.
    ASSERT_TRUE(focusButton);
    QAccessibleActionInterface *actions = focusButton->actionInterface();
    ASSERT_TRUE(actions);
    EXPECT_EQ(focusButton->text(QAccessible::Description), QStringLiteral("Not focused"));
    actions->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_EQ(inbox().focusedIDs().size(), 1);
}

TEST_F(Views, ReaderTextTogglesItsSizeOnDoubleClickAndCopiesPlainText)
{
    launchDemo();
    std::optional<Message> longMessage;
    std::optional<Message> shortMessage;
    for (const Message &message : inbox().visible()) {
        inbox().select(message);
        (inbox().canResizeReader() ? longMessage : shortMessage) = message;
    }
    ASSERT_TRUE(longMessage && shortMessage);

    inbox().select(*longMessage);
    settle();
    QQuickItem *text = waitForOpaque(QStringLiteral("readerText"));
    ASSERT_TRUE(text);
    const bool tucked = inbox().readerTucked();
    const QPoint at = text->mapToScene(QPointF(20, 10)).toPoint();
    QTest::mouseDClick(app->panel(), Qt::LeftButton, {}, at);
    settle();
    EXPECT_NE(inbox().readerTucked(), tucked);
    QTest::mouseDClick(app->panel(), Qt::LeftButton, {}, at);
    settle();
    EXPECT_EQ(inbox().readerTucked(), tucked);

    // "Copy text" replaces whatever the clipboard held, an image included, with the plain text.
    auto *held = new QMimeData;
    held->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(held);
    QTest::mouseClick(app->panel(), Qt::RightButton, {}, at);
    settle();
    ASSERT_TRUE(openMenu());
    EXPECT_EQ(actionTexts(openMenu()), QStringList{QStringLiteral("Copy text")});
    choose(QStringLiteral("Copy text"));
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(now);
    EXPECT_FALSE(now->hasImage());
    EXPECT_EQ(now->text(), longMessage->body);

    // A short message does not resize, but still copies.
    inbox().select(*shortMessage);
    settle();
    text = waitForOpaque(QStringLiteral("readerText"));
    ASSERT_TRUE(text);
    EXPECT_FALSE(text->property("canResize").toBool());
    const bool shortTucked = inbox().readerTucked();
    QTest::mouseDClick(app->panel(), Qt::LeftButton, {}, text->mapToScene(QPointF(20, 10)).toPoint());
    settle();
    EXPECT_EQ(inbox().readerTucked(), shortTucked);
}

TEST_F(Views, ALiveRowClickQueuesOneReadPerUnreadMemberOfItsThread)
{
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
    snapshot.message({.id = QStringLiteral("root"), .messageId = QStringLiteral("m-root"), .createdAt = 1,
                      .unread = true});
    snapshot.message({.id = QStringLiteral("reply"), .messageId = QStringLiteral("m-reply"), .createdAt = 2,
                      .unread = true, .replyTo = QStringLiteral("m-root")});
    snapshot.message({.id = QStringLiteral("alone"), .conversationId = QStringLiteral("c2"), .sender = QStringLiteral("Ola"),
                      .createdAt = 3});
    FakeRunner *mutations = nullptr;
    launch({}, [&](Scheduler &scheduler) {
        InboxServices services;
        services.scheduler = &scheduler;
        auto snapshots = std::make_unique<FakeRunner>();
        snapshots->autoRespond = [bytes = snapshot.bytes()](const FakeRunner::Call &) { return bytes; };
        services.connection = std::move(snapshots);
        auto saves = std::make_unique<FakeRunner>();
        mutations = saves.get();
        services.mutationConnection = std::move(saves);
        services.subscriptionConnection = std::make_unique<FakeRunner>();
        services.replyConnection = std::make_unique<FakeRunner>();
        services.hints = std::make_unique<FakeHintSource>();
        services.openUrl = [](const QUrl &) {};
        return services;
    });
    inbox().setPinned(true);
    inbox().open();
    settle();
    ASSERT_TRUE(mutations);
    ASSERT_EQ(inbox().visibleMessages()->rowCount(), 2) << "the reply is grouped under its thread";

    QQuickItem *threadRow = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("messageRow")))
        if (candidate->property("hasUnread").toBool())
            threadRow = candidate;
    ASSERT_TRUE(threadRow);
    QQuickItem *button = nullptr;
    for (QQuickItem *candidate : all(QStringLiteral("rowButton")))
        if (threadRow->isAncestorOf(candidate))
            button = candidate;
    click(button);
    EXPECT_TRUE(inbox().hasSelection());
    // One "read" per unread member, saved one after another.
    QStringList saved;
    while (!mutations->idle()) {
        saved.append(mutations->calls.front().command + QLatin1Char(' ') +
                     mutations->calls.front().messageID.value_or(QString()));
        mutations->finishNext(QByteArray(R"({"saved":true,"id":")") + mutations->calls.front().messageID->toUtf8() +
                              R"(","account":{"id":"me","provider":"google","origin":"o"}})");
        settle();
    }
    saved.sort();
    EXPECT_EQ(saved, (QStringList{QStringLiteral("read reply"), QStringLiteral("read root")}));
}

TEST_F(Views, TheReaderDrawsQuotesWithTheirBarsAndScrollsLongCodeSideways)
{
    launchDemo();
    QList<Message> messages = inbox().messages();
    Message sample = messages.first();
    sample.id = QUuid::createUuid();
    sample.body = QStringLiteral("> first quoted line\n> second quoted line, long enough to wrap over more than one line of "
                                 "the reader at its width\n> third\n\n```\n") +
                  QString(300, QLatin1Char('x')) + QStringLiteral("\n```");
    messages.prepend(sample);
    inbox().setMessages(messages);
    inbox().select(sample);
    settle();
    ASSERT_TRUE(waitForOpaque(QStringLiteral("readerText")));

    QList<QQuickItem *> bars = all(QStringLiteral("quoteBar"));
    ASSERT_EQ(bars.size(), 3);
    std::sort(bars.begin(), bars.end(), [](QQuickItem *a, QQuickItem *b) {
        return a->mapToScene(QPointF()).y() < b->mapToScene(QPointF()).y();
    });
    for (QQuickItem *bar : bars) {
        EXPECT_EQ(bar->width(), 2);
        const QQuickItem *text = bar->parentItem()->childItems().at(1);
        EXPECT_EQ(bar->height(), text->height()) << "the bar is exactly as tall as its text";
    }
    EXPECT_GT(bars.at(1)->height(), bars.at(0)->height() * 1.5) << "the long quote wraps";
    // 8 points between blocks.
    const QRectF first = bars.at(0)->mapRectToScene(QRectF(0, 0, 2, bars.at(0)->height()));
    const QRectF second = bars.at(1)->mapRectToScene(QRectF(0, 0, 2, bars.at(1)->height()));
    EXPECT_NEAR(second.top() - first.bottom(), 8, 0.5);

    QQuickItem *scroller = item(QStringLiteral("codeScroller"));
    ASSERT_TRUE(scroller);
    EXPECT_GT(scroller->property("contentWidth").toReal(), scroller->width() * 2) << "a long line does not wrap";
    EXPECT_LT(scroller->property("contentHeight").toReal(), 30) << "one line";
}

namespace {

// A live inbox of two conversations: a thread of a message and one reply, and a message on its own.
SnapshotJson twoConversations()
{
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
    snapshot.message({.id = QStringLiteral("root"), .messageId = QStringLiteral("m-root"),
                      .subject = QStringLiteral("Crash on start"), .createdAt = 1});
    snapshot.message({.id = QStringLiteral("reply"), .messageId = QStringLiteral("m-reply"), .senderId = QStringLiteral("me"),
                      .sender = QStringLiteral("Me"), .body = QStringLiteral("Looking."), .createdAt = 2,
                      .replyTo = QStringLiteral("m-root")});
    snapshot.message({.id = QStringLiteral("alone"), .conversationId = QStringLiteral("c2"), .sender = QStringLiteral("Ola"),
                      .subject = QStringLiteral("Lunch"), .createdAt = 3});
    return snapshot;
}

} // namespace

class ReaderViews : public Views
{
protected:
    void launchLive(const SnapshotJson &snapshot)
    {
        launch({}, [&](Scheduler &scheduler) {
            InboxServices services;
            services.scheduler = &scheduler;
            auto snapshots = std::make_unique<FakeRunner>();
            snapshots->autoRespond = [bytes = snapshot.bytes()](const FakeRunner::Call &) { return bytes; };
            services.connection = std::move(snapshots);
            services.mutationConnection = std::make_unique<FakeRunner>();
            services.subscriptionConnection = std::make_unique<FakeRunner>();
            auto replies = std::make_unique<FakeRunner>();
            replyRunner = replies.get();
            services.replyConnection = std::move(replies);
            services.hints = std::make_unique<FakeHintSource>();
            services.openUrl = [](const QUrl &) {};
            return services;
        });
        inbox().setPinned(true);
        inbox().open();
        settle();
    }
    void selectSubject(const QString &subject)
    {
        for (const Message &message : inbox().messages())
            if (message.subject == subject)
                inbox().select(message);
        settle();
        settle();
    }
    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(app->panel(), c.toLatin1());
        settle();
    }
    void ctrlReturn()
    {
        QTest::keyClick(app->panel(), Qt::Key_Return, Qt::ControlModifier);
        settle();
    }
    static bool atEnd(QQuickItem *list)
    {
        return list && list->property("contentY").toReal() + list->height() >=
                           list->property("contentHeight").toReal() + list->property("originY").toReal() - 1;
    }
    FakeRunner *replyRunner = nullptr;
};

TEST_F(ReaderViews, TheComposerSendsOnlyRealTextWithCtrlReturnAndKeepsADraftPerConversation)
{
    launchLive(twoConversations());
    selectSubject(QStringLiteral("Crash on start"));
    QQuickItem *field = waitForOpaque(QStringLiteral("replyField"));
    ASSERT_TRUE(field);
    QQuickItem *send = item(QStringLiteral("sendButton"));
    ASSERT_TRUE(send);
    EXPECT_FALSE(send->isEnabled()) << "nothing to send yet";

    // Typed text is the conversation's draft; white space alone does not enable sending, nor send.
    click(field);
    type(QStringLiteral("   "));
    settle();
    EXPECT_EQ(inbox().reader()->draft(), QStringLiteral("   "));
    EXPECT_FALSE(send->isEnabled());
    ctrlReturn();
    EXPECT_TRUE(replyRunner->idle());

    type(QStringLiteral("ship it"));
    settle();
    EXPECT_TRUE(send->isEnabled());

    // Another conversation has its own (empty) draft; coming back finds this one as it was.
    selectSubject(QStringLiteral("Lunch"));
    field = waitForOpaque(QStringLiteral("replyField"));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->property("text").toString(), QString());
    selectSubject(QStringLiteral("Crash on start"));
    field = waitForOpaque(QStringLiteral("replyField"));
    ASSERT_TRUE(field);
    EXPECT_EQ(field->property("text").toString(), QStringLiteral("   ship it"));

    // Ctrl+Return from the field sends it: the draft empties and a pending row with a hollow dot (no
    // message to focus yet) shows at the end of the thread, scrolled into view.
    click(field);
    ctrlReturn();
    ASSERT_EQ(replyRunner->calls.size(), 1u);
    EXPECT_EQ(replyRunner->calls.front().body, QStringLiteral("   ship it"));
    EXPECT_EQ(field->property("text").toString(), QString());
    EXPECT_FALSE(item(QStringLiteral("sendButton"))->isEnabled());
    QQuickItem *placeholder = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        settle();
        placeholder = item(QStringLiteral("pendingPlaceholder"));
        return placeholder != nullptr;
    }));
    EXPECT_EQ(all(QStringLiteral("conversationRow")).size(), 2) << "the reply of the snapshot, then the pending one";
    EXPECT_TRUE(QTest::qWaitFor([&] {
        settle();
        return atEnd(item(QStringLiteral("detailList")));
    }));
}

TEST_F(ReaderViews, TheDemoChatOpensAtItsNewestReplyAndStaysThereAfterAdding)
{
    launchDemo();
    std::optional<Message> chat;
    for (const Message &message : inbox().messages())
        if (!message.scope.isPersonal() && message.kind == ConversationKind::direct)
            chat = message;
    ASSERT_TRUE(chat);
    inbox().switchScope(chat->scope);
    inbox().select(*chat);
    settle();
    ASSERT_TRUE(waitForOpaque(QStringLiteral("directConversation")));
    EXPECT_FALSE(item(QStringLiteral("replyComposer"))) << "the demo has its local field instead";

    // Return in the local field adds a bubble on the right; blank text adds nothing and stays.
    QQuickItem *field = item(QStringLiteral("localReplyText"));
    ASSERT_TRUE(field);
    click(field);
    type(QStringLiteral("  "));
    QTest::keyClick(app->panel(), Qt::Key_Return);
    settle();
    EXPECT_EQ(inbox().selected()->replies.size(), chat->replies.size());
    for (int i = 0; i < 12; ++i) {
        type(QStringLiteral("reply number %1").arg(i));
        QTest::keyClick(app->panel(), Qt::Key_Return);
        settle();
    }
    ASSERT_EQ(inbox().selected()->replies.size(), chat->replies.size() + 12);
    EXPECT_EQ(inbox().directDraft(), QString());
    QList<QQuickItem *> bubbles = all(QStringLiteral("bubble"));
    ASSERT_FALSE(bubbles.isEmpty());
    QQuickItem *list = item(QStringLiteral("conversationList"));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        settle();
        return atEnd(list);
    }));
    for (QQuickItem *bubble : all(QStringLiteral("bubble")))
        EXPECT_GT(bubble->mapToItem(list, QPointF(bubble->width(), 0)).x(), list->width() - 2) << "outgoing: right";

    // Opening it again starts at the bottom.
    inbox().deselect();
    settle();
    inbox().select(*chat);
    settle();
    list = waitForOpaque(QStringLiteral("conversationList"));
    ASSERT_TRUE(list);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        settle();
        return atEnd(list) && list->property("contentHeight").toReal() > list->height();
    }));
}

TEST_F(ReaderViews, ATuckedLongMessageShowsItsPreviewAndTheExpandButton)
{
    launchDemo();
    bool tucked = false;
    for (const Message &message : inbox().messages()) {
        inbox().switchScope(message.scope);
        inbox().select(message);
        if (inbox().canResizeReader()) {
            if (!inbox().readerTucked())
                inbox().toggleReaderSize();
            tucked = inbox().readerTucked();
            break;
        }
    }
    ASSERT_TRUE(tucked) << "the demo holds a long message";
    settle();
    QQuickItem *preview = waitForOpaque(QStringLiteral("focusedPreview"));
    ASSERT_TRUE(preview);
    EXPECT_FALSE(item(QStringLiteral("messageDetail")));
    QQuickItem *resize = item(QStringLiteral("resizeButton"));
    ASSERT_TRUE(resize);
    EXPECT_EQ(resize->property("help").toString(), QStringLiteral("Expand message"));
    EXPECT_EQ(resize->property("symbol").toString(), QStringLiteral("arrow.up.left.and.arrow.down.right"));
    click(resize);
    settle();
    EXPECT_FALSE(inbox().readerTucked());
    EXPECT_TRUE(waitForOpaque(QStringLiteral("messageDetail")));
    EXPECT_EQ(item(QStringLiteral("resizeButton"))->property("help").toString(), QStringLiteral("Compact message"));
}

TEST_F(ReaderViews, TheDownloadButtonSavesTheFileAsSentAndSaysWhenItCannot)
{
    launch({QStringLiteral("--demo"), QStringLiteral("--visualization-demo")});
    settle();
    QQuickItem *button = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        settle();
        button = item(QStringLiteral("downloadButton"));
        return button != nullptr;
    }));
    EXPECT_EQ(button->property("help").toString(), QStringLiteral("Download visualization"));
    const auto dialog = [] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<QFileDialog *>(widget))
                return found;
        return static_cast<QFileDialog *>(nullptr);
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.html"));
    const QByteArray expected = *StrictBase64::decode(
        QByteArray::fromStdString(inbox().contentCache().content(inbox().selected()->body)->attachments()[0].file.data));

    // A screen reader's press opens the same dialog as a click.
    const auto saveTo = [&](const QString &target, bool screenReader = false) {
        if (screenReader) {
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(button);
            EXPECT_EQ(node->text(QAccessible::Name), QStringLiteral("Download visualization"));
            node->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            click(button);
        }
        QFileDialog *open = nullptr;
        if (!QTest::qWaitFor([&] { return (open = dialog()) != nullptr; }))
            return false;
        EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptSave);
        // The file's own name is proposed.
        EXPECT_TRUE(open->selectedFiles().value(0).endsWith(QLatin1String("/team-pulse.html")))
            << qPrintable(open->selectedFiles().join(QLatin1Char(',')));
        if (target.isEmpty()) {
            open->reject();
        } else {
            Q_EMIT open->fileSelected(target);
            open->close();
        }
        settle();
        return true;
    };
    // Cancelling writes nothing.
    ASSERT_TRUE(saveTo(QString(), true));
    EXPECT_FALSE(QFile::exists(path));
    // Saving writes the file's bytes as sent; saving again replaces them.
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(expected.size() * 2, 'x'));
    stale.close();
    ASSERT_TRUE(saveTo(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), expected);
    EXPECT_FALSE(inbox().actionError());
    // A place that cannot be written says so.
    ASSERT_TRUE(saveTo(dir.filePath(QStringLiteral("no/such/folder/x.html"))));
    EXPECT_EQ(inbox().actionError(), QStringLiteral("Could not save the file."));
}
