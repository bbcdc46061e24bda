#include "content/MessageBlockList.h"
#include "content/VisualizationDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QStringList column(const MessageBlockList &list, int role)
{
    QStringList values;
    for (int row = 0; row < list.rowCount(); ++row)
        values.append(list.data(list.index(row), role).toString());
    return values;
}

} // namespace

TEST(MessageBlockList, ListsEveryBlockAndKeepsItsRowsForTheSameBody)
{
    MessageBlockList list(nullptr);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QString body = QStringLiteral("# Title\n\nSome **text**.\n\n- one\n3) three\n\n> quoted\n> again\n\n```\ncode  line\n```");
    list.show(body, std::make_shared<MessageContent>(body));
    EXPECT_EQ(column(list, MessageBlockList::KindRole),
              (QStringList{QStringLiteral("heading"), QStringLiteral("paragraph"), QStringLiteral("item"),
                           QStringLiteral("item"), QStringLiteral("quote"), QStringLiteral("quote"),
                           QStringLiteral("code")}));
    EXPECT_EQ(column(list, MessageBlockList::MarkerRole).mid(2, 2), (QStringList{QStringLiteral("•"), QStringLiteral("3)")}));
    EXPECT_EQ(column(list, MessageBlockList::TextRole).last(), QStringLiteral("code  line"));
    EXPECT_TRUE(column(list, MessageBlockList::HtmlRole).at(1).contains(QStringLiteral("<b>text</b>")));
    EXPECT_TRUE(column(list, MessageBlockList::HtmlRole).last().isEmpty()) << "code is never rich text";

    // The same body again (a refresh, or a new parse of it) keeps the rows; another body replaces them.
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    list.show(body, std::make_shared<MessageContent>(body));
    EXPECT_EQ(reset.count(), 0);
    const QString html = list.data(list.index(0), MessageBlockList::HtmlRole).toString(); // the title's, kept
    list.show(QStringLiteral("*other*"), std::make_shared<MessageContent>(QStringLiteral("*other*")));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_NE(list.data(list.index(0), MessageBlockList::HtmlRole).toString(), html);
    EXPECT_TRUE(list.data(list.index(0), MessageBlockList::HtmlRole).toString().contains(QStringLiteral("<i>other</i>")));
    EXPECT_EQ(list.data(list.index(0), MessageBlockList::TextRole).toString(), QStringLiteral("other"));
    list.show(QString(), nullptr);
    EXPECT_EQ(list.count(), 0);
}

TEST(VisualizationFileSave, WritesTheDecodedBytesAndRefusesWhatIsNotStrictBase64)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.html"));
    EXPECT_EQ(VisualizationDocument::save({"chart.html", "text/html", "PGI+aGk8L2I+"}, path), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("<b>hi</b>"));
    file.close();
    // Line breaks or a missing padding are not strict Base64: nothing is written over the old file.
    EXPECT_EQ(VisualizationDocument::save({"chart.html", "text/html", "PGI+\naGk8L2I+"}, path),
              VisualizationDocument::saveFailedText());
    EXPECT_EQ(VisualizationDocument::save({"chart.html", "text/html", "PGI"}, path), VisualizationDocument::saveFailedText());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("<b>hi</b>"));
    EXPECT_EQ(VisualizationDocument::save({"chart.html", "text/html", "PGI+aGk8L2I+"}, dir.filePath(QStringLiteral("a/b"))),
              VisualizationDocument::saveFailedText());
}

TEST(MessageBlockListFrame, AFramedListHasAHeaderAndAFooterAroundTheBlocksOfABody)
{
    MessageBlockList list(nullptr);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.setFramed(true);
    EXPECT_EQ(list.rowCount(), 0) << "no body, no frame";
    const QString body = QStringLiteral("one\n\ntwo");
    list.show(body, std::make_shared<const MessageContent>(body));
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.count(), 2);
    const auto kind = [&](int row) { return list.data(list.index(row), MessageBlockList::KindRole).toString(); };
    EXPECT_EQ(kind(0), QStringLiteral("header"));
    EXPECT_EQ(kind(1), QStringLiteral("paragraph"));
    EXPECT_EQ(list.data(list.index(2), MessageBlockList::TextRole).toString(), QStringLiteral("two"));
    EXPECT_EQ(kind(3), QStringLiteral("footer"));
}
