#include "InboxTestSupport.h"
#include "inbox/VisibleMessageList.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>

namespace {

QStringList ids(const QAbstractListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.data(model.index(row), VisibleMessageList::SenderRole).toString());
    return result;
}

SnapshotJson three(bool bUnread = false)
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope());
    snapshot.message({.id = QStringLiteral("a"), .conversationId = QStringLiteral("1"), .sender = QStringLiteral("A")});
    snapshot.message({.id = QStringLiteral("b"), .conversationId = QStringLiteral("2"), .sender = QStringLiteral("B"),
                      .unread = bUnread});
    snapshot.message({.id = QStringLiteral("c"), .conversationId = QStringLiteral("3"), .sender = QStringLiteral("C")});
    return snapshot;
}

} // namespace

using VisibleList = LiveInboxFixture;

TEST_F(VisibleList, RowsKeepTheirIdentityAcrossChanges)
{
    QAbstractListModel &model = *inbox->visibleMessages();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    deliver(three());
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(model), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(model.data(model.index(0), VisibleMessageList::IdRole).toString(),
              Message::canonical(localID(QStringLiteral("a"))));

    // Focusing c moves its row to the top; nothing is removed or inserted.
    QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    inbox->toggleFocus(*byRecord(QStringLiteral("c")));
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(model), (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(inserted.count(), 0);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_TRUE(model.data(model.index(0), VisibleMessageList::FocusedRole).toBool());
}

TEST_F(VisibleList, ChangesAreCoalescedAndOnlyChangedRowsAreUpdated)
{
    QAbstractListModel &model = *inbox->visibleMessages();
    deliver(three());
    QCoreApplication::processEvents();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    deliver(three(true)); // b became unread
    inbox->setQuery(QString()); // no change
    QCoreApplication::processEvents();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_TRUE(model.data(model.index(1), VisibleMessageList::UnreadRole).toBool());
    EXPECT_EQ(reset.count(), 0);

    inbox->setQuery(QStringLiteral("B"));
    inbox->setFilter(InboxFilter::unread);
    QCoreApplication::processEvents();
    EXPECT_EQ(ids(model), QStringList{QStringLiteral("B")});
}
