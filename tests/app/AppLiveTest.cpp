// The application against the service's tool: the scripted stand-in, configured in a private home folder.

#include "AppTestSupport.h"
#include "SnapshotJson.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

const QString tool = QStringLiteral(SCRIPTED_TOOL_PATH);


class LiveApp : public AppFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        log = home.filePath(QStringLiteral("commands.log"));
        qputenv("SCRIPTED_TOOL_LOG", QFile::encodeName(log));
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        qputenv("HOME", savedHome);
        qunsetenv("SCRIPTED_TOOL_LOG");
    }

    // The tool logs every command, answers "snapshot" with `snapshot` and "subscriptions" with no channel.
    void configure(const QByteArray &snapshot)
    {
        const QString script = QStringLiteral("log;only:snapshot;out:") +
                               QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(snapshot))) +
                               QStringLiteral(";only:subscriptions;out:") +
                               QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral(R"({"subscriptions":[]})")));
        const QString path = home.filePath(QStringLiteral(".config/tandrel/notch.json"));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"node": %1, "cli": %2, "origin": "https://tandrel.example", "config": "%3", "provider": "google"})")
                       .arg(SnapshotJson::quoted(tool), SnapshotJson::quoted(script), home.path())
                       .toUtf8());
    }

    QStringList commands() const
    {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Real child processes: waits for them while letting virtual time run what is due now.
    bool waitFor(const std::function<bool()> &condition)
    {
        return QTest::qWaitFor(
            [&] {
                clock.runDue();
                return condition();
            },
            10000);
    }

    QTemporaryDir home;
    QByteArray savedHome;
    QString log;
};

TEST_F(LiveApp, StartsClosedAndSyncsThroughTheTool)
{
    SnapshotJson snapshot;
    snapshot.account(QStringLiteral("me"))
        .scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}})
        .message({.id = QStringLiteral("m1"), .subject = QStringLiteral("Quarterly plan"), .unread = true});
    configure(snapshot.bytes());

    launch({});
    EXPECT_TRUE(inbox().live());
    EXPECT_FALSE(inbox().expanded());
    ASSERT_TRUE(waitFor([&] { return commands().contains(QStringLiteral("subscriptions")); })) << qPrintable(commands().join(u','));
    EXPECT_EQ(commands().value(0), QStringLiteral("snapshot"));
    ASSERT_TRUE(waitFor([&] { return !inbox().messages().isEmpty(); }));
    EXPECT_EQ(inbox().messages().first().subject, QStringLiteral("Quarterly plan"));
    EXPECT_FALSE(inbox().connectionError());
    EXPECT_EQ(inbox().totalUnreadCount(), 1);
    // The collapsed tab shows the unread message beside the (fallback) notch.
    EXPECT_TRUE(waitFor([&] { return app->presentedSize() == QSizeF(180, 24); }));
}

} // namespace
