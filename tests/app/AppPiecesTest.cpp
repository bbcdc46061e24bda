// The shell's platform pieces: text measurement, the reduce-motion setting and the wake notification.

#include "QtTextMeasurer.h"
#include "ReduceMotionSetting.h"
#include "WakeMonitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QFontMetricsF>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(QtTextMeasurer, BodyAndSubjectFontsWrapAndSpaceLines)
{
    const QtTextMeasurer measurer;
    EXPECT_EQ(measurer.bodyFont().pixelSize(), 13);
    EXPECT_EQ(measurer.subjectFont().pixelSize(), 18);
    EXPECT_EQ(measurer.subjectFont().weight(), QFont::DemiBold);

    EXPECT_GT(measurer.bodyLineWidth(QStringLiteral("a longer line")), measurer.bodyLineWidth(QStringLiteral("short")));
    const double line = measurer.bodyHeight(QStringLiteral("one line"), 376);
    EXPECT_GT(line, 13);
    // Two lines: two line heights and the 5-pixel spacing between them; a final line feed adds nothing.
    EXPECT_DOUBLE_EQ(measurer.bodyHeight(QStringLiteral("first\nsecond"), 376), 2 * line + 5);
    EXPECT_DOUBLE_EQ(measurer.bodyHeight(QStringLiteral("first\nsecond\n"), 376), 2 * line + 5);
    EXPECT_DOUBLE_EQ(measurer.bodyHeight(QStringLiteral("first\n\nthird"), 376), 3 * line + 10);
    EXPECT_EQ(measurer.bodyHeight(QString(), 376), 0);

    // Wrapping: a paragraph wider than the width takes more lines, fewer when the width grows.
    const QString paragraph = QStringLiteral("words ").repeated(60);
    const double narrow = measurer.bodyHeight(paragraph, 376);
    const double wide = measurer.bodyHeight(paragraph, 556);
    EXPECT_GT(narrow, wide);
    EXPECT_GT(wide, line);
    // A word longer than the line still wraps.
    EXPECT_GT(measurer.bodyHeight(QString(300, QLatin1Char('x')), 376), line);

    EXPECT_GT(measurer.subjectHeight(QStringLiteral("Subject"), 400), line);
}

TEST(ReduceMotionSetting, TheEnvironmentWinsAndKdeGlobalsAreRead)
{
    const QByteArray saved = qgetenv("TANDREL_REDUCE_MOTION");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    EXPECT_TRUE(ReduceMotionSetting().reduceMotion());
    qputenv("TANDREL_REDUCE_MOTION", "0");
    EXPECT_FALSE(ReduceMotionSetting().reduceMotion());
    qputenv("TANDREL_REDUCE_MOTION", saved);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kdeglobals"));
    EXPECT_FALSE(ReduceMotionSetting::fromKdeGlobals(path));
    const auto write = [&](const QByteArray &text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    write("[General]\nColorScheme=Breeze\n");
    EXPECT_FALSE(ReduceMotionSetting::fromKdeGlobals(path));
    write("[General]\nColorScheme=Breeze\n\n[KDE]\nAnimationDurationFactor=0\nSingleClick=false\n");
    EXPECT_EQ(ReduceMotionSetting::fromKdeGlobals(path), true);
    write("[KDE]\nAnimationDurationFactor=0.5\n");
    EXPECT_EQ(ReduceMotionSetting::fromKdeGlobals(path), false);
    write("[KDE]\nAnimationDurationFactor=fast\n");
    EXPECT_FALSE(ReduceMotionSetting::fromKdeGlobals(path));
}

TEST(WakeMonitor, WakingFromSleepIsReportedAndGoingToSleepIsNot)
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";

    // Without a bus there is nothing to listen to, and that is no error.
    const WakeMonitor detached(QDBusConnection(QStringLiteral("no such bus")), QString());
    EXPECT_FALSE(detached.active());

    QProcess bus;
    bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    ASSERT_TRUE(bus.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bus.canReadLine(); }, 5000));
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("wake-test"));
        ASSERT_TRUE(connection.isConnected());
        WakeMonitor monitor(connection, QString());
        ASSERT_TRUE(monitor.active());
        QSignalSpy woke(&monitor, &WakeMonitor::woke);

        const auto announce = [&](bool sleeping) {
            QDBusMessage signal = QDBusMessage::createSignal(
                QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
                QStringLiteral("PrepareForSleep"));
            signal << sleeping;
            ASSERT_TRUE(connection.send(signal));
        };
        announce(true);
        announce(false);
        EXPECT_TRUE(QTest::qWaitFor([&] { return woke.count() == 1; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(woke.count(), 1);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("wake-test"));
    bus.terminate();
    bus.waitForFinished(5000);
}

} // namespace
