// The reader's rules that need no window, and its conversation rows as a model.

#include "inbox/ConversationRowList.h"
#include "inbox/ReaderText.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

Message message(const QString &scope, ConversationKind kind)
{
    Message m;
    m.id = QUuid::createUuid();
    m.scope = InboxScope{scope};
    m.kind = kind;
    return m;
}

} // namespace

TEST(ReaderText, TheBodyTheResizeButtonAndTheNotices)
{
    using Body = ReaderText::Body;
    EXPECT_EQ(ReaderText::body(message(QStringLiteral("team"), ConversationKind::direct), false), Body::conversation);
    EXPECT_EQ(ReaderText::body(message(QStringLiteral("personal"), ConversationKind::direct), false), Body::detail);
    EXPECT_EQ(ReaderText::body(message(QStringLiteral("team"), ConversationKind::thread), false), Body::detail);
    EXPECT_EQ(ReaderText::body(message(QStringLiteral("team"), ConversationKind::direct), true), Body::preview);
    EXPECT_EQ(ReaderText::previewFontSize(message(QStringLiteral("team"), ConversationKind::direct)), 12);
    EXPECT_EQ(ReaderText::previewFontSize(message(QStringLiteral("personal"), ConversationKind::direct)), 13);

    EXPECT_EQ(ReaderText::resizeSymbol(true), QStringLiteral("arrow.up.left.and.arrow.down.right"));
    EXPECT_EQ(ReaderText::resizeHelp(true), QStringLiteral("Expand message"));
    EXPECT_EQ(ReaderText::resizeSymbol(false), QStringLiteral("arrow.down.right.and.arrow.up.left"));
    EXPECT_EQ(ReaderText::resizeHelp(false), QStringLiteral("Compact message"));

    EXPECT_EQ(ReaderText::agentNotice(true, Body::detail), QString());
    EXPECT_EQ(ReaderText::agentNotice(false, Body::detail), QStringLiteral("Your agent can’t read this"));
    EXPECT_EQ(ReaderText::agentNotice(false, Body::conversation), QStringLiteral("Your agent can’t read this conversation"));
    EXPECT_FALSE(ReaderText::approvalNotice(false, Body::detail).isEmpty());
    EXPECT_TRUE(ReaderText::approvalNotice(false, Body::conversation).isEmpty()) << "the chat shows the notice only";
    EXPECT_TRUE(ReaderText::approvalNotice(true, Body::detail).isEmpty());

    EXPECT_FALSE(ReaderText::canSend(QStringLiteral(" \n\t ")));
    EXPECT_TRUE(ReaderText::canSend(QStringLiteral(" ok ")));
}

TEST(ReaderText, ThePreviewStopsAt4096CharactersOrBeforeTheFirstFilesOrPhotosFence)
{
    const QString fence = QStringLiteral("```tandrel-files-v1\n[]\n```");
    EXPECT_EQ(ReaderText::previewExcerpt(QStringLiteral("Hello\n\n") + fence), QStringLiteral("Hello\n\n"));
    EXPECT_EQ(ReaderText::previewExcerpt(QStringLiteral("A\n```tandrel-photos-v1\nx")), QStringLiteral("A\n"));
    // Only a fence at the start of a line counts.
    EXPECT_EQ(ReaderText::previewExcerpt(QStringLiteral("see ```tandrel-files-v1")), QStringLiteral("see ```tandrel-files-v1"));
    const QString longText(5000, QLatin1Char('a'));
    EXPECT_EQ(ReaderText::previewExcerpt(longText).size(), 4096);
    // A fence line that starts inside the excerpt but is cut by the limit still ends it.
    const QString straddling = QString(4090, QLatin1Char('b')) + QStringLiteral("\n") + fence;
    EXPECT_EQ(ReaderText::previewExcerpt(straddling), QString(4090, QLatin1Char('b')) + QStringLiteral("\n"));
    // Inline styling only; the text is escaped.
    EXPECT_EQ(ReaderText::previewHtml(QStringLiteral("**a** <b>"), {}).contains(QLatin1String("<b>")), true);
    EXPECT_TRUE(ReaderText::previewHtml(QStringLiteral("<i>"), {}).contains(QLatin1String("&lt;i&gt;")));
}

TEST(ReaderText, ThePreviewLinksOnlyTheKeptSchemes)
{
    const QString html = ReaderText::previewHtml(
        QStringLiteral("[run](javascript:alert(1)) [file](file:///etc/passwd) [web](HTTPS://a.example) [rel](/x)"),
        QStringLiteral("#f0b3c4"));
    EXPECT_FALSE(html.contains(QLatin1String("javascript"))) << qPrintable(html);
    EXPECT_FALSE(html.contains(QLatin1String("file:"))) << qPrintable(html);
    EXPECT_EQ(html.count(QLatin1String("<a href=")), 1) << qPrintable(html);
    EXPECT_TRUE(html.contains(QLatin1String("<a href=\"HTTPS://a.example\""))) << qPrintable(html);
    // The text of a dropped link stays, untinted.
    EXPECT_TRUE(html.contains(QLatin1String("run"))) << qPrintable(html);
    EXPECT_EQ(html.count(QLatin1String("color:")), 1) << qPrintable(html);
}

TEST(ConversationRowList, RowsKeepTheirIdentityAcrossUpdates)
{
    ConversationRowList list(nullptr);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const auto row = [](const QUuid &id, const QString &body, bool pending = false) {
        ConversationRowList::Row r;
        r.id = id;
        r.sender = QStringLiteral("You");
        r.body = body;
        r.pending = pending;
        return r;
    };
    const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
    list.show({row(a, QStringLiteral("one")), row(b, QStringLiteral("two"))});
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    // A pending reply is added at the end; then the snapshot replaces it by the real message.
    list.show({row(a, QStringLiteral("one")), row(b, QStringLiteral("two")), row(c, QStringLiteral("three"), true)});
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(changed.size(), 0);
    list.show({row(a, QStringLiteral("one")), row(b, QStringLiteral("two")), row(c, QStringLiteral("three"))});
    EXPECT_EQ(changed.size(), 1);
    list.show({row(b, QStringLiteral("two")), row(c, QStringLiteral("three"))});
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(list.data(list.index(0), ConversationRowList::BodyRole).toString(), QStringLiteral("two"));
    EXPECT_EQ(list.data(list.index(1), ConversationRowList::PendingRole).toBool(), false);
}
