#include "liveinbox/LiveInboxConnection.h"

#include "VirtualScheduler.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QString tool = QStringLiteral(SCRIPTED_TOOL_PATH);
constexpr int patience = 10000; // ms; real process I/O only, never a scheduled delay

using Outcome = std::shared_ptr<std::optional<Result<QByteArray>>>;

QString jsonString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QList<QByteArray> splitNul(const QByteArray &bytes)
{
    QList<QByteArray> parts = bytes.split('\0');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts;
}

// "key=value" lines printed by the tool's "body" action.
QMap<QByteArray, QByteArray> facts(const QByteArray &bytes)
{
    QMap<QByteArray, QByteArray> map;
    for (const QByteArray &line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            map.insert(line.left(equals), line.mid(equals + 1));
    }
    return map;
}

class LiveInboxConnectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid() && temp.isValid());
        readyFile = home.filePath(QStringLiteral("ready"));
        qputenv("SCRIPTED_TOOL_READY", QFile::encodeName(readyFile));
    }

    void TearDown() override { qunsetenv("SCRIPTED_TOOL_READY"); }

    QString configurationPath() const { return home.filePath(QStringLiteral(".config/tandrel/notch.json")); }

    void writeFile(const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(configurationPath()).path());
        QFile file(configurationPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // The tool's script goes in `cli`, the tool's first argument.
    void configure(const QString &script, const QString &provider = QStringLiteral("x"),
                   const QString &node = tool)
    {
        writeFile(
            QStringLiteral(
                R"({"node": %1, "cli": %2, "origin": "https://inbox.example", "config": "/srv/tandrel", "provider": %3})")
                .arg(jsonString(node), jsonString(script), jsonString(provider))
                .toUtf8());
    }

    std::unique_ptr<LiveInboxConnection>
    connection(qint64 outputLimit = LiveInboxConnection::defaultOutputLimit)
    {
        return std::make_unique<LiveInboxConnection>(
            scheduler, LiveInboxConnection::Options{home.path(), temp.path(), outputLimit});
    }

    static Outcome start(LiveInboxConnection &connection, const QString &command,
                         const std::optional<QString> &messageID = {},
                         const std::optional<QString> &body = {}, const QStringList &replyArguments = {})
    {
        auto outcome = std::make_shared<std::optional<Result<QByteArray>>>();
        connection.run(command, messageID, body, replyArguments,
                       [outcome](Result<QByteArray> result) { outcome->emplace(std::move(result)); });
        EXPECT_FALSE(outcome->has_value()) << "completed inside run()";
        return outcome;
    }

    static Result<QByteArray> await(const Outcome &outcome)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome->has_value(); }, patience));
        if (!outcome->has_value())
            return Failure::tandrel(-1, QStringLiteral("no result"));
        return **outcome;
    }

    Result<QByteArray> runOnce(const QString &command, const std::optional<QString> &messageID = {},
                               const std::optional<QString> &body = {},
                               const QStringList &replyArguments = {})
    {
        auto runner = connection();
        return await(start(*runner, command, messageID, body, replyArguments));
    }

    qint64 awaitReady()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(readyFile); }, patience));
        QFile file(readyFile);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        return file.readAll().toLongLong();
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    QString readyFile;
    VirtualScheduler scheduler;
};

void expectFailure(const Result<QByteArray> &result, const QString &domain, qint64 code,
                   const QString &description)
{
    ASSERT_FALSE(result.ok()) << result.value().toStdString();
    EXPECT_EQ(result.failure(), (Failure{domain, code, description}))
        << result.failure().domain.toStdString() << " " << result.failure().code << " "
        << result.failure().description.toStdString();
}

TEST_F(LiveInboxConnectionTest, SnapshotRunsTheFixedCommandLineAndReturnsPaddedOutput)
{
    configure(QStringLiteral("argv"));
    const Result<QByteArray> result = runOnce(QStringLiteral("snapshot"));
    ASSERT_TRUE(result.ok()) << result.failure().description.toStdString();
    EXPECT_EQ(splitNul(*result),
              (QList<QByteArray>{QFile::encodeName(tool), "argv", "desktop", "snapshot", "--provider", "x"}));
    // Room behind the bytes lets the decoder read them in place.
    EXPECT_GE(result->capacity() - result->size(), 256);
}

TEST_F(LiveInboxConnectionTest, ReplyCommandLinesCarryMessageReplyArgumentsAndBodyFile)
{
    configure(QStringLiteral("argv"), QStringLiteral("google"));
    const QRegularExpression bodyPath(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(temp.path()) +
        QStringLiteral("/tandrel-reply-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}/body.txt")));

    const QStringList personal = LiveInboxConnection::replyArguments(
        QStringLiteral("acc"), true, QStringLiteral("123"), QStringLiteral("conv"), QStringLiteral("srv"));
    Result<QByteArray> result =
        runOnce(QStringLiteral("reply"), QStringLiteral("m-1"), QStringLiteral("hi"), personal);
    ASSERT_TRUE(result.ok());
    QList<QByteArray> args = splitNul(*result);
    ASSERT_EQ(args.size(), 14);
    EXPECT_EQ(args.mid(1, 12),
              (QList<QByteArray>{"argv", "desktop", "reply", "--provider", "google", "--message", "m-1",
                                 "--account-id", "acc", "--recipient-id", "x:123", "--body-file"}));
    EXPECT_TRUE(bodyPath.match(QString::fromUtf8(args[13])).hasMatch()) << args[13].toStdString();

    const QStringList team = LiveInboxConnection::replyArguments(
        QStringLiteral("acc"), false, QStringLiteral("123"), QStringLiteral("conv"), std::nullopt);
    result = runOnce(QStringLiteral("reply"), QStringLiteral("m-2"), QStringLiteral("hi"), team);
    ASSERT_TRUE(result.ok());
    args = splitNul(*result);
    ASSERT_EQ(args.size(), 16);
    EXPECT_EQ(args.mid(1, 14),
              (QList<QByteArray>{"argv", "desktop", "reply", "--provider", "google", "--message", "m-2",
                                 "--account-id", "acc", "--conversation-id", "conv", "--reply-to", "",
                                 "--body-file"}));
    EXPECT_TRUE(bodyPath.match(QString::fromUtf8(args[15])).hasMatch());

    // A mutation: message id, no body.
    result = runOnce(QStringLiteral("read"), QStringLiteral("m-3"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(splitNul(*result).mid(1),
              (QList<QByteArray>{"argv", "desktop", "read", "--provider", "google", "--message", "m-3"}));
}

TEST(LiveInboxConnectionReplyArguments, NumericRecipientsGetThePrefix)
{
    auto recipient = [](const QString &sender) {
        return LiveInboxConnection::replyArguments(QStringLiteral("a"), true, sender, QStringLiteral("c"),
                                                   {});
    };
    EXPECT_EQ(recipient(QStringLiteral("42")),
              (QStringList{QStringLiteral("--account-id"), QStringLiteral("a"),
                           QStringLiteral("--recipient-id"), QStringLiteral("x:42")}));
    EXPECT_EQ(recipient(QStringLiteral("42a"))[3], QStringLiteral("42a"));
    EXPECT_EQ(recipient(QString())[3], QStringLiteral("x:"));
    // Any Unicode number counts, including digits outside the basic plane.
    EXPECT_EQ(recipient(QStringLiteral(u"\u0661\u0662\u00BD"))[3], QStringLiteral(u"x:\u0661\u0662\u00BD"));
    EXPECT_EQ(recipient(QString::fromUcs4(U"\U0001D7CE7"))[3], QString::fromUcs4(U"x:\U0001D7CE7"));
    EXPECT_EQ(recipient(QStringLiteral("x:42"))[3], QStringLiteral("x:42"));

    EXPECT_EQ(
        LiveInboxConnection::replyArguments(QStringLiteral("a"), false, QStringLiteral("42"),
                                            QStringLiteral("c"), QStringLiteral("s")),
        (QStringList{QStringLiteral("--account-id"), QStringLiteral("a"), QStringLiteral("--conversation-id"),
                     QStringLiteral("c"), QStringLiteral("--reply-to"), QStringLiteral("s")}));
}

TEST_F(LiveInboxConnectionTest, EnvironmentIsInheritedWithTheToolSettingsOverwritten)
{
    qputenv("INBOX_URL", "https://stale.example");
    qputenv("INBOX_CONFIG_DIR", "/stale");
    qputenv("TANDREL_NO_UPDATE_CHECK", "0");
    qputenv("TANDREL_TEST_INHERITED", "kept");
    configure(QStringLiteral(
        "env:INBOX_URL;env:INBOX_CONFIG_DIR;env:TANDREL_NO_UPDATE_CHECK;env:TANDREL_TEST_INHERITED;stdin"));
    const Result<QByteArray> result = runOnce(QStringLiteral("snapshot"));
    for (const char *name :
         {"INBOX_URL", "INBOX_CONFIG_DIR", "TANDREL_NO_UPDATE_CHECK", "TANDREL_TEST_INHERITED"})
        qunsetenv(name);

    ASSERT_TRUE(result.ok());
    // Standard input is the application's own, not a pipe of the connection.
    const QByteArray ownInput = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/0")));
    EXPECT_EQ(*result,
              "INBOX_URL=https://inbox.example\nINBOX_CONFIG_DIR=/srv/tandrel\nTANDREL_NO_UPDATE_CHECK=1\n"
              "TANDREL_TEST_INHERITED=kept\n" +
                  ownInput + "\n");
}

TEST_F(LiveInboxConnectionTest, OnlyExactProvidersAreAcceptedAndTheConfigurationStaysCached)
{
    configure(QStringLiteral("out:ok"), QStringLiteral("X"));
    auto runner = connection();
    const QString unconfigured = QStringLiteral("Configure your Tandrel account first.");
    expectFailure(await(start(*runner, QStringLiteral("snapshot"))), Failure::tandrelDomain, 1, unconfigured);

    // The cached configuration wins over the corrected file; a fresh connection reads the new one.
    configure(QStringLiteral("out:ok"), QStringLiteral("x"));
    expectFailure(await(start(*runner, QStringLiteral("snapshot"))), Failure::tandrelDomain, 1, unconfigured);
    auto fresh = connection();
    const Result<QByteArray> result = await(start(*fresh, QStringLiteral("snapshot")));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(*result, "ok");

    // Once loaded, the file is not needed any more.
    QFile::remove(configurationPath());
    EXPECT_TRUE(await(start(*fresh, QStringLiteral("snapshot"))).ok());
}

TEST_F(LiveInboxConnectionTest, UnreadableOrInvalidConfigurationIsReportedAndRetried)
{
    auto runner = connection();
    expectFailure(await(start(*runner, QStringLiteral("snapshot"))), Failure::systemDomain, ENOENT,
                  configurationPath() + QStringLiteral(": No such file or directory"));

    // Unreadable (a directory where the file should be; permissions do not stop root).
    ASSERT_TRUE(QDir().mkpath(configurationPath()));
    expectFailure(await(start(*runner, QStringLiteral("snapshot"))), Failure::systemDomain, EISDIR,
                  configurationPath() + QStringLiteral(": Is a directory"));
    ASSERT_TRUE(QDir(configurationPath()).removeRecursively());

    writeFile(R"({"node": "/bin/true", "cli": "x", "origin": "o", "config": "c"})");
    Result<QByteArray> result = await(start(*runner, QStringLiteral("snapshot")));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().domain, Failure::jsonDomain);
    EXPECT_TRUE(result.failure().description.contains(QStringLiteral("provider")));

    writeFile("{\"node\": ");
    result = await(start(*runner, QStringLiteral("snapshot")));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().domain, Failure::jsonDomain);

    configure(QStringLiteral("out:fixed"));
    result = await(start(*runner, QStringLiteral("snapshot")));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(*result, "fixed");
}

TEST_F(LiveInboxConnectionTest, BodyIsWrittenPrivatelyByteForByteAndRemovedAfterwards)
{
    const QString body = QStringLiteral(u"  Gr\u00FC\u00DFe,\n\n\tsee you \U0001F44B\n");
    for (const QString &script : {QStringLiteral("body"), QStringLiteral("body;exit:3")}) {
        SCOPED_TRACE(script.toStdString());
        configure(script);
        const Result<QByteArray> result = runOnce(QStringLiteral("reply"), QStringLiteral("m"), body);
        const QByteArray output = result.ok() ? *result : result.failure().description.toUtf8();
        if (script.endsWith(QStringLiteral("exit:3"))) {
            EXPECT_EQ(result.failure().code, 3);
        }
        const auto fact = facts(output);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^tandrel-reply-[0-9A-F-]{36}$"))
                        .match(QString::fromUtf8(fact.value("dir")))
                        .hasMatch())
            << output.toStdString();
        EXPECT_EQ(fact.value("dirmode"), "700");
        EXPECT_EQ(fact.value("filemode"), "600");
        EXPECT_EQ(fact.value("bytes"), body.toUtf8().toHex());
        EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(fact.value("path"))));
        EXPECT_TRUE(QDir(temp.path()).isEmpty());
    }
}

TEST_F(LiveInboxConnectionTest, BodyPreparationFailures)
{
    configure(QStringLiteral("out:ran"));
    // The temporary directory is missing: the platform's error, and the tool never runs.
    auto runner = std::make_unique<LiveInboxConnection>(
        scheduler, LiveInboxConnection::Options{home.path(), temp.filePath(QStringLiteral("missing")), 1024});
    Result<QByteArray> result =
        await(start(*runner, QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("b")));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().domain, Failure::systemDomain);
    EXPECT_EQ(result.failure().code, ENOENT);
    EXPECT_TRUE(
        result.failure().description.startsWith(temp.filePath(QStringLiteral("missing/tandrel-reply-"))));

    // The body cannot be written (a file-size limit of zero makes every write fail); the directory goes.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit none{0, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &none);
    auto writer = connection();
    const Outcome outcome =
        start(*writer, QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("body"));
    const bool ended = QTest::qWaitFor([&] { return outcome->has_value(); }, patience);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(ended);
    expectFailure(await(outcome), Failure::tandrelDomain, 1, QStringLiteral("Could not prepare the reply."));
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}

TEST_F(LiveInboxConnectionTest, BothOutputStreamsArriveInterleavedInOneResult)
{
    configure(QStringLiteral(R"(err:warning%0A;out:{"saved"%3Atrue};err:late%0A)"));
    const Result<QByteArray> result = runOnce(QStringLiteral("read"), QStringLiteral("m"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(*result, QByteArray("warning\n{\"saved\":true}late\n"));
}

TEST_F(LiveInboxConnectionTest, NonZeroExitDescribesTheStartOfTheOutput)
{
    struct Case
    {
        QString script;
        qint64 code;
        QString description;
    };
    const QString failed = QStringLiteral("Tandrel connection failed");
    const QString a497(497, u'a');
    const QList<Case> cases{
        {QStringLiteral("out:boom%0A;exit:3"), 3, QStringLiteral("boom")},
        {QStringLiteral("exit:4"), 4, QString()},
        {QStringLiteral("err:%20%0A%09 oops %0D%0A;exit:255"), 255, QStringLiteral("oops")},
        // Cut to 500 bytes first (the cut ends on a space), trimmed afterwards.
        {QStringLiteral("out:%20%20;fill:497:a;out:%20tail;exit:2"), 2, a497},
        {QStringLiteral("fill:498:a;out:%C3%A9tail;exit:2"), 2,
         QString(498, u'a') + QStringLiteral(u"\u00E9")},
        {QStringLiteral("fill:499:a;out:%C3%A9;exit:2"), 2, failed},
        {QStringLiteral("out:%FF;exit:2"), 2, failed},
        {QStringLiteral("out:%ED%A0%80;exit:2"), 2, failed},
    };
    // Each case on a fresh connection, all started together: instances run side by side.
    std::vector<std::unique_ptr<LiveInboxConnection>> runners;
    std::vector<Outcome> outcomes;
    for (const Case &c : cases) {
        configure(c.script);
        runners.push_back(connection());
        outcomes.push_back(start(*runners.back(), QStringLiteral("snapshot")));
        // The queued start reads the configuration before the file changes again.
        QCoreApplication::processEvents();
    }
    for (qsizetype i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].script.toStdString());
        expectFailure(await(outcomes[size_t(i)]), Failure::tandrelDomain, cases[i].code,
                      cases[i].description);
    }
}

TEST_F(LiveInboxConnectionTest, ToolsEndedBySignalsAlwaysFail)
{
    configure(QStringLiteral(R"(out:{"id"%3A"r"%2C"status"%3A"released"};signal:6)"));
    expectFailure(runOnce(QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("b")),
                  Failure::tandrelDomain, SIGABRT, QStringLiteral(R"({"id":"r","status":"released"})"));
    configure(QStringLiteral("signal:9"));
    expectFailure(runOnce(QStringLiteral("snapshot")), Failure::tandrelDomain, SIGKILL, QString());
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}

TEST_F(LiveInboxConnectionTest, WatchdogTerminatesAHangingToolAfterSixtySeconds)
{
    configure(QStringLiteral("out:partial%0A;ready;sleep:30000"));
    auto runner = connection();
    const Outcome outcome =
        start(*runner, QStringLiteral("snapshot"), QStringLiteral("m"), QStringLiteral("body"));
    const qint64 pid = awaitReady();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheduler.pendingCount() == 1; }, patience));
    const double started = scheduler.now();

    // A tool that was asked to stop ends at once; give it a moment to show that it was not asked.
    scheduler.advanceTo(started + 60 - 1e-3);
    QTest::qWait(100);
    EXPECT_FALSE(outcome->has_value());
    EXPECT_EQ(::kill(pid_t(pid), 0), 0);

    scheduler.advanceTo(started + 60);
    expectFailure(await(outcome), Failure::tandrelDomain, SIGTERM, QStringLiteral("partial"));
    EXPECT_EQ(scheduler.pendingCount(), 0u); // the follow-up kill is cancelled
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}

// A reply sent just before the lid closes must not be ended on wake: only the tool's running time counts.
TEST_F(LiveInboxConnectionTest, TimeSuspendedDoesNotCountTowardsTheWatchdog)
{
    configure(QStringLiteral("out:partial%0A;ready;sleep:30000"));
    auto runner = connection();
    const Outcome outcome = start(*runner, QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("body"));
    const qint64 pid = awaitReady();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheduler.pendingCount() == 1; }, patience));

    scheduler.advance(30);
    scheduler.suspend(600);
    QTest::qWait(50);
    EXPECT_FALSE(outcome->has_value());
    scheduler.advance(29.9);
    QTest::qWait(50);
    EXPECT_FALSE(outcome->has_value());
    EXPECT_EQ(::kill(pid_t(pid), 0), 0);

    scheduler.advance(0.1);
    expectFailure(await(outcome), Failure::tandrelDomain, SIGTERM, QStringLiteral("partial"));
}

TEST_F(LiveInboxConnectionTest, AToolIgnoringTerminationIsKilledFiveSecondsLater)
{
    configure(QStringLiteral("ignoreterm;ready;sleep:30000"));
    auto runner = connection();
    const Outcome outcome = start(*runner, QStringLiteral("snapshot"));
    ASSERT_GT(awaitReady(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scheduler.pendingCount() == 1; }, patience));
    const double started = scheduler.now();

    scheduler.advanceTo(started + 60);
    const double terminated = scheduler.now();
    QTest::qWait(200);
    EXPECT_FALSE(outcome->has_value());
    scheduler.advanceTo(terminated + 5 - 1e-3);
    QTest::qWait(100);
    EXPECT_FALSE(outcome->has_value());
    scheduler.advanceTo(terminated + 5);
    expectFailure(await(outcome), Failure::tandrelDomain, SIGKILL, QString());
}

TEST_F(LiveInboxConnectionTest, OutputBeyondTheLimitStopsTheTool)
{
    constexpr qint64 limit = 1024 * 1024;
    configure(QStringLiteral("fill:1048576:z"));
    auto runner = connection(limit);
    Result<QByteArray> result = await(start(*runner, QStringLiteral("snapshot")));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->size(), limit);
    EXPECT_GE(result->capacity() - result->size(), 256);

    // Without the limit this tool would print 1 GiB and then sleep.
    configure(QStringLiteral("fill:1073741824:z;sleep:30000"));
    auto flooded = connection(limit);
    expectFailure(await(start(*flooded, QStringLiteral("snapshot"))), Failure::tandrelDomain, 1,
                  QStringLiteral("The Tandrel tool printed more than 1 MiB."));
    EXPECT_EQ(QStringLiteral("The Tandrel tool printed more than 512 MiB."),
              QStringLiteral("The Tandrel tool printed more than %1 MiB.")
                  .arg(LiveInboxConnection::defaultOutputLimit / (1024 * 1024)));
}

TEST_F(LiveInboxConnectionTest, ARuntimeThatCannotStartIsAPlatformFailure)
{
    configure(QStringLiteral("out:ran"), QStringLiteral("x"), QStringLiteral("/nonexistent/node"));
    expectFailure(runOnce(QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("b")),
                  Failure::systemDomain, ENOENT,
                  QStringLiteral("/nonexistent/node: No such file or directory"));
    EXPECT_TRUE(QDir(temp.path()).isEmpty());

    const QString plain = home.filePath(QStringLiteral("plain"));
    QFile(plain).open(QIODevice::WriteOnly);
    configure(QStringLiteral("out:ran"), QStringLiteral("x"), plain);
    expectFailure(runOnce(QStringLiteral("snapshot")), Failure::systemDomain, EACCES,
                  plain + QStringLiteral(": Permission denied"));
}

TEST_F(LiveInboxConnectionTest, ARelativeRuntimePathIsNeverLookedUpOnTheSearchPath)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    // "true" exists on the search path but not in the working directory.
    configure(QStringLiteral("out:ran"), QStringLiteral("x"), QStringLiteral("true"));
    const Result<QByteArray> missing = runOnce(QStringLiteral("snapshot"));
    ASSERT_TRUE(QFile::copy(tool, home.filePath(QStringLiteral("true"))));
    configure(QStringLiteral("out:ran"), QStringLiteral("x"), QStringLiteral("true"));
    const Result<QByteArray> local = runOnce(QStringLiteral("snapshot"));
    QDir::setCurrent(previous);

    expectFailure(missing, Failure::systemDomain, ENOENT,
                  home.filePath(QStringLiteral("true")) + QStringLiteral(": No such file or directory"));
    ASSERT_TRUE(local.ok());
    EXPECT_EQ(*local, "ran");
}

TEST_F(LiveInboxConnectionTest, CommandsOfOneConnectionNeverOverlapWhileConnectionsDo)
{
    configure(QStringLiteral("stamp;sleep:150;stamp"));
    auto interval = [](const Result<QByteArray> &result) {
        EXPECT_TRUE(result.ok());
        const QList<QByteArray> lines =
            result.ok() ? result->trimmed().split('\n') : QList<QByteArray>{"0", "0"};
        return std::pair{lines.value(0).toLongLong(), lines.value(1).toLongLong()};
    };

    auto serial = connection();
    QElapsedTimer clock;
    clock.start();
    std::vector<Outcome> outcomes;
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) {
        auto outcome = std::make_shared<std::optional<Result<QByteArray>>>();
        serial->run(QStringLiteral("snapshot"), {}, {}, {}, [outcome, &order, i](Result<QByteArray> result) {
            order.push_back(i);
            outcome->emplace(std::move(result));
        });
        outcomes.push_back(outcome);
    }
    EXPECT_LT(clock.elapsed(), 100); // run() only queues
    const auto first = interval(await(outcomes[0]));
    const auto second = interval(await(outcomes[1]));
    const auto third = interval(await(outcomes[2]));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_LE(first.second, second.first);
    EXPECT_LE(second.second, third.first);

    auto left = connection();
    auto right = connection();
    const Outcome a = start(*left, QStringLiteral("snapshot"));
    const Outcome b = start(*right, QStringLiteral("snapshot"));
    const auto x = interval(await(a));
    const auto y = interval(await(b));
    EXPECT_LT(x.first, y.second);
    EXPECT_LT(y.first, x.second);
}

TEST_F(LiveInboxConnectionTest, DestroyingTheConnectionKillsTheToolAndDropsCompletions)
{
    configure(QStringLiteral("ready;sleep:30000"));
    auto runner = connection();
    const Outcome running =
        start(*runner, QStringLiteral("reply"), QStringLiteral("m"), QStringLiteral("body"));
    const Outcome queued = start(*runner, QStringLiteral("snapshot"));
    const qint64 pid = awaitReady();
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(QDir(temp.path()).isEmpty());

    runner.reset();
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    // The tool is killed and reaped without anyone waiting for it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; }, patience));
    QTest::qWait(20);
    EXPECT_FALSE(running->has_value());
    EXPECT_FALSE(queued->has_value());

    // A completion may destroy its own connection; what was queued behind it is dropped.
    configure(QStringLiteral("out:one"));
    auto owner = connection();
    std::optional<Result<QByteArray>> firstResult;
    owner->run(QStringLiteral("snapshot"), {}, {}, {}, [&](Result<QByteArray> result) {
        firstResult.emplace(std::move(result));
        owner.reset();
    });
    const Outcome dropped = start(*owner, QStringLiteral("snapshot"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return firstResult.has_value(); }, patience));
    QTest::qWait(50);
    EXPECT_TRUE(firstResult->ok());
    EXPECT_FALSE(dropped->has_value());
}

} // namespace
