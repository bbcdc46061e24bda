// The inbox's own geometry: the values the views, the panel and the animations read, computed from the
// inbox's state, with the reader estimate cached per selection and every change notified once.

#include "FakeTextMeasurer.h"
#include "VirtualScheduler.h"

#include "inbox/Inbox.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace {

Message message(const QString &subject, const QString &body, bool unread = false,
                const InboxScope &scope = InboxScope::personal())
{
    Message m;
    m.id = QUuid::createUuid();
    m.sender = QStringLiteral("Ada");
    m.subject = subject;
    m.body = body;
    m.unread = unread;
    m.scope = scope;
    return m;
}

QString longBody()
{
    QString body;
    for (int i = 0; i < 40; ++i)
        body += QStringLiteral("This paragraph is long enough to need a wider card than the standard one.\n");
    return body;
}

class InboxGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override { make(true); }

    // A live inbox that never syncs (no runner is ever asked for anything), on a notched screen.
    void make(bool live)
    {
        InboxServices services;
        services.scheduler = &scheduler;
        inbox = std::make_unique<Inbox>(live, std::move(services));
        inbox->setTextMeasurer(&measurer);
        if (live)
            inbox->setMessages({});
    }
    void notched()
    {
        inbox->setHasNotch(true);
        inbox->setTopInset(38);
        inbox->setNotchWidth(200);
    }
    void noNotch()
    {
        inbox->setHasNotch(false);
        inbox->setTopInset(24);
        inbox->setNotchWidth(140);
    }
    const Message &add(Message m)
    {
        QList<Message> messages = inbox->messages();
        messages.append(std::move(m));
        inbox->setMessages(messages);
        return inbox->messages().constLast();
    }

    VirtualScheduler scheduler;
    FakeTextMeasurer measurer;
    std::unique_ptr<Inbox> inbox;
};

TEST_F(InboxGeometryTest, CollapsedSurfaceFollowsTheNotchAndTheUnreadCount)
{
    noNotch();
    EXPECT_EQ(inbox->presentation(), (NotchPresentation{NotchPresentation::Phase::collapsed, QSizeF(0, 0)}));
    EXPECT_EQ(inbox->compactWidth(), 0);
    EXPECT_EQ(inbox->height(), 0);

    for (int i = 0; i < 3; ++i)
        add(message(QStringLiteral("Hi"), QStringLiteral("Short."), true));
    EXPECT_EQ(inbox->totalUnreadCount(), 3);
    EXPECT_EQ(inbox->presentation().size, QSizeF(180, 24));

    make(true);
    notched();
    EXPECT_EQ(inbox->presentation().size, QSizeF(200, 38));
    inbox->setExpanded(true);
    EXPECT_EQ(inbox->presentation(), (NotchPresentation{NotchPresentation::Phase::list, QSizeF(440, 416)}));
    EXPECT_EQ(inbox->presentationPhase(), int(NotchPresentation::Phase::list));
    EXPECT_EQ(inbox->contentWidth(), 400);
    EXPECT_EQ(inbox->contentHeight(), 352);
}

TEST_F(InboxGeometryTest, AnAttachmentGetsTheLargeReaderWithoutMeasuringText)
{
    notched();
    inbox->setExpanded(true);
    const QString html = QString::fromLatin1(QByteArray("<p>pulse</p>").toBase64());
    const Message &m = add(message(QStringLiteral("Pulse"),
                                   QStringLiteral("See the page.\n\n```tandrel-files-v1\n[{\"name\":\"p.html\",\"type\":"
                                                  "\"text/html\",\"data\":\"%1\"}]\n```")
                                       .arg(html)));
    inbox->select(m);
    EXPECT_EQ(inbox->presentation(), (NotchPresentation{NotchPresentation::Phase::reader, QSizeF(660, 38 + 686)}));
    EXPECT_TRUE(measurer.measuredBodies.isEmpty());

    // What counts is what the content parser keeps: a fence without a usable file is measured as text.
    const Message &empty = add(message(QStringLiteral("Empty"), QStringLiteral("See nothing.\n\n```tandrel-files-v1\n[]\n```")));
    inbox->select(empty);
    EXPECT_EQ(inbox->contentWidth(), 400);
}

TEST_F(InboxGeometryTest, AShortMessageKeepsTheStandardCardAndCannotBeShortened)
{
    notched();
    const Message &m = add(message(QStringLiteral("Lunch"), QStringLiteral("Noon?")));
    inbox->select(m);
    EXPECT_EQ(inbox->contentWidth(), 400);
    EXPECT_EQ(inbox->contentHeight(), 352);
    EXPECT_FALSE(inbox->canResizeReader());
    QSignalSpy tucked(inbox.get(), &Inbox::readerTuckedChanged);
    inbox->toggleReaderSize();
    EXPECT_EQ(tucked.count(), 0);
    EXPECT_EQ(inbox->presentation().phase, NotchPresentation::Phase::reader);
}

TEST_F(InboxGeometryTest, ALongMessageGrowsAndTogglesToItsShortFormWithoutMeasuringAgain)
{
    notched();
    inbox->setExpanded(true);
    const Message &m = add(message(QStringLiteral("Quarterly notes"), longBody()));
    inbox->select(m);
    const double width = inbox->contentWidth();
    const double height = inbox->contentHeight();
    EXPECT_GE(width, 440);
    EXPECT_LE(width, 580);
    EXPECT_GE(height, 380);
    EXPECT_LE(height, 520);
    EXPECT_TRUE(inbox->canResizeReader());
    EXPECT_EQ(inbox->presentation().size, QSizeF(width + 40, 38 + height + 26));
    const qsizetype measured = measurer.measuredBodies.size();

    QSignalSpy geometry(inbox.get(), &Inbox::geometryChanged);
    inbox->toggleReaderSize();
    EXPECT_EQ(inbox->presentation().phase, NotchPresentation::Phase::preview);
    EXPECT_EQ(inbox->contentHeight(), 200);
    EXPECT_EQ(inbox->contentWidth(), width);
    EXPECT_EQ(inbox->geometryProfile(), NotchMotion::Profile::morph);
    EXPECT_EQ(geometry.count(), 1);

    inbox->toggleReaderSize();
    EXPECT_EQ(inbox->presentation().phase, NotchPresentation::Phase::reader);
    EXPECT_EQ(inbox->contentHeight(), height);
    EXPECT_EQ(geometry.count(), 2);
    EXPECT_EQ(measurer.measuredBodies.size(), measured);
}

TEST_F(InboxGeometryTest, OnlyTheTextBeforeAnAttachmentFenceIsMeasured)
{
    notched();
    const QString before(3000, QLatin1Char('a'));
    QString body = before + QStringLiteral("```tandrel-photos-v1\n");
    body += QString(10000 - body.size(), QLatin1Char('b'));
    const Message &m = add(message(QStringLiteral("Photos"), body));
    inbox->select(m);
    inbox->readerSize();
    ASSERT_FALSE(measurer.measuredBodies.isEmpty());
    EXPECT_EQ(measurer.measuredBodies.constLast(), before + QLatin1Char('\n'));
}

TEST_F(InboxGeometryTest, TheReaderEstimateIsCachedPerSelectionAndMessageList)
{
    notched();
    inbox->setExpanded(true);
    const Message first = add(message(QStringLiteral("One"), longBody()));
    const Message second = add(message(QStringLiteral("Two"), longBody() + longBody()));
    inbox->select(first);
    inbox->toggleReaderSize();
    ASSERT_TRUE(inbox->readerTucked());
    ASSERT_TRUE(inbox->cachedReaderSize());

    // Another selection drops the cached size and un-tucks the reader.
    inbox->select(second);
    EXPECT_FALSE(inbox->readerTucked());
    EXPECT_EQ(inbox->presentation().phase, NotchPresentation::Phase::reader);
    ASSERT_TRUE(inbox->cachedReaderSize());

    // Any write of the message list drops it too; the next query measures again.
    const qsizetype measured = measurer.measuredBodies.size();
    add(message(QStringLiteral("Three"), QStringLiteral("New")));
    ASSERT_TRUE(inbox->cachedReaderSize()); // re-measured at once for the notification
    EXPECT_GT(measurer.measuredBodies.size(), measured);

    // Collapsing clears the selection and with it the estimate.
    inbox->close();
    EXPECT_FALSE(inbox->selectedID());
    EXPECT_FALSE(inbox->cachedReaderSize());
    EXPECT_EQ(inbox->presentation().phase, NotchPresentation::Phase::collapsed);
}

TEST_F(InboxGeometryTest, GeometryAndCountsNotifyOnlyWhenTheirValuesChange)
{
    notched();
    QSignalSpy geometry(inbox.get(), &Inbox::geometryChanged);
    QSignalSpy counts(inbox.get(), &Inbox::countsChanged);

    inbox->setNotchWidth(200); // same value
    inbox->setPinned(true);    // no geometry input
    inbox->setQuery(QStringLiteral("x"));
    EXPECT_EQ(geometry.count(), 0);
    EXPECT_EQ(counts.count(), 0);

    add(message(QStringLiteral("Read"), QStringLiteral("Already read"))); // nothing unread: same sizes
    EXPECT_EQ(geometry.count(), 0);
    EXPECT_EQ(counts.count(), 0);

    add(message(QStringLiteral("New"), QStringLiteral("Unread"), true));
    EXPECT_EQ(geometry.count(), 1); // the tab beside the notch appears
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(inbox->compactWidth(), 240);

    add(message(QStringLiteral("Team"), QStringLiteral("Unread elsewhere"), true, InboxScope::demoTeamLaunch()));
    EXPECT_EQ(geometry.count(), 1); // the tab is as wide with two
    EXPECT_EQ(counts.count(), 2);
    EXPECT_EQ(inbox->totalUnreadCount(), 2);
    EXPECT_EQ(inbox->unreadCount(), 1);

    inbox->switchScope(InboxScope::demoTeamLaunch());
    EXPECT_EQ(counts.count(), 3);
    EXPECT_EQ(inbox->scopeName(), QStringLiteral("Launch crew"));

    inbox->setTopInset(32);
    EXPECT_EQ(geometry.count(), 2);
    EXPECT_EQ(inbox->height(), 32);
    EXPECT_EQ(inbox->property("height").toDouble(), 32);
    EXPECT_EQ(inbox->property("presentationWidth").toDouble(), 240);
}

TEST_F(InboxGeometryTest, OpeningClosingAndSelectingChooseTheMotionProfile)
{
    notched();
    int opened = 0;
    int hoverChecks = 0;
    inbox->setOnOpen([&] { ++opened; });
    inbox->setOnHoverStateChange([&] { ++hoverChecks; });
    inbox->setGeometryProfile(NotchMotion::Profile::instant);

    inbox->open();
    EXPECT_TRUE(inbox->expanded());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(hoverChecks, 1);
    EXPECT_EQ(inbox->geometryProfile(), NotchMotion::Profile::entrance);

    inbox->open(); // already open: onOpen runs again, nothing else changes
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(hoverChecks, 1);

    const Message m = add(message(QStringLiteral("Long"), longBody()));
    inbox->select(m);
    EXPECT_TRUE(inbox->pinned());
    EXPECT_EQ(inbox->geometryProfile(), NotchMotion::Profile::morph);

    // Single clicks elsewhere keep an open reader; a double click collapses with the entrance curve.
    EXPECT_FALSE(inbox->closeFromOutsideClick(1));
    EXPECT_TRUE(inbox->expanded());
    EXPECT_TRUE(inbox->closeFromOutsideClick(2));
    EXPECT_FALSE(inbox->expanded());
    EXPECT_FALSE(inbox->pinned());
    EXPECT_FALSE(inbox->selectedID());
    EXPECT_EQ(inbox->geometryProfile(), NotchMotion::Profile::entrance);

    // Pinned, nothing selected: a single click closes; focus holding it open does not let it.
    inbox->setPinned(true);
    inbox->open();
    EXPECT_TRUE(inbox->closeFromOutsideClick(1));
    inbox->open();
    inbox->setFocusHoldsOpen(true);
    EXPECT_FALSE(inbox->closeFromOutsideClick(1));
    EXPECT_TRUE(inbox->expanded());
}

TEST_F(InboxGeometryTest, TheDemoInboxAllowsLessChromeThanALiveOne)
{
    // Same message, same measurer: the live reader reserves 70 points more for its controls.
    const Message sample = message(QStringLiteral("Notes"), longBody().left(900));
    add(sample);
    inbox->select(inbox->messages().constLast());
    const double liveHeight = inbox->contentHeight();
    make(false);
    add(sample);
    inbox->select(inbox->messages().constLast());
    const double demoHeight = inbox->contentHeight();
    EXPECT_GT(liveHeight, demoHeight);
}

} // namespace
