// The shell's platform pieces: text measurement, the reduce-motion setting, the wake notification, the
// command line and the quit alert's buttons.

#include "LaunchOptions.h"
#include "QtTextMeasurer.h"
#include "QuitAlertBox.h"
#include "ReduceMotionSetting.h"
#include "WakeMonitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
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

TEST(LaunchOptions, SwitchesAnywhereAndBadValuesGetOneLine)
{
    const auto parse = [](QStringList switches) {
        return LaunchOptions::parse(QStringList{QStringLiteral("tandrel-notch")} + switches);
    };
    LaunchOptions options = parse({});
    EXPECT_FALSE(options.demo);
    EXPECT_EQ(options.command, LaunchOptions::Command::none);
    EXPECT_EQ(options.mode(), QStringLiteral("live"));
    EXPECT_FALSE(options.notch);
    EXPECT_TRUE(options.error.isEmpty());

    options = parse({QStringLiteral("--toggle"), QStringLiteral("-platform"), QStringLiteral("xcb"),
                     QStringLiteral("--demo"), QStringLiteral("--screen=HDMI-1"), QStringLiteral("--notch-height=32.5"),
                     QStringLiteral("--notch-width=190")});
    EXPECT_TRUE(options.error.isEmpty()) << qPrintable(options.error);
    EXPECT_TRUE(options.demo);
    EXPECT_EQ(options.mode(), QStringLiteral("demo"));
    EXPECT_EQ(options.command, LaunchOptions::Command::toggle);
    EXPECT_EQ(options.screenName, QStringLiteral("HDMI-1"));
    EXPECT_EQ(options.notch, QSizeF(190, 32.5));
    EXPECT_EQ(parse({QStringLiteral("--open")}).command, LaunchOptions::Command::open);
    // The program name is never a switch.
    EXPECT_FALSE(LaunchOptions::parse({QStringLiteral("--demo")}).demo);
    // A value may come as the next argument; Qt's own options are kept for the application object.
    options = parse({QStringLiteral("--screen"), QStringLiteral("DP-2"), QStringLiteral("--notify"), QStringLiteral("-display"),
                     QStringLiteral(":4"), QStringLiteral("-platform"), QStringLiteral("offscreen")});
    EXPECT_TRUE(options.error.isEmpty()) << qPrintable(options.error);
    EXPECT_EQ(options.screenName, QStringLiteral("DP-2"));
    EXPECT_TRUE(options.notify);
    EXPECT_EQ(options.display, QStringLiteral(":4"));
    EXPECT_EQ(options.platform, QStringLiteral("offscreen"));
    EXPECT_EQ(options.applicationArguments(QStringLiteral("tandrel-notch")),
              (QStringList{QStringLiteral("tandrel-notch"), QStringLiteral("--notify")}));
    EXPECT_TRUE(parse({QStringLiteral("-h")}).help);
    EXPECT_TRUE(parse({QStringLiteral("--help")}).help);
    EXPECT_TRUE(parse({QStringLiteral("--version")}).version);
    EXPECT_FALSE(parse({QStringLiteral("--demo")}).help);

    const QList<std::pair<QStringList, QString>> bad{
        {{QStringLiteral("--notch-width=0"), QStringLiteral("--notch-height=30")},
         QStringLiteral("--notch-width needs a positive number of points, not \"0\".")},
        {{QStringLiteral("--notch-width=wide"), QStringLiteral("--notch-height=30")},
         QStringLiteral("--notch-width needs a positive number of points, not \"wide\".")},
        {{QStringLiteral("--notch-width=200"), QStringLiteral("--notch-height=-3")},
         QStringLiteral("--notch-height needs a positive number of points, not \"-3\".")},
        {{QStringLiteral("--notch-width=200"), QStringLiteral("--notch-height=inf")},
         QStringLiteral("--notch-height needs a positive number of points, not \"inf\".")},
        {{QStringLiteral("--notch-width=200")}, QStringLiteral("--notch-width and --notch-height go together: give both.")},
        {{QStringLiteral("--notch-height")}, QStringLiteral("--notch-height needs a positive number of points: --notch-height=POINTS.")},
        {{QStringLiteral("--screen=")}, QStringLiteral("--screen needs a screen name: --screen=NAME.")},
        {{QStringLiteral("--open"), QStringLiteral("--toggle")}, QStringLiteral("--open and --toggle cannot be given together.")},
        {{QStringLiteral("--demo"), QStringLiteral("--dmeo")},
         QStringLiteral("There is no option --dmeo; tandrel-notch --help lists the options.")},
        {{QStringLiteral("-x")}, QStringLiteral("There is no option -x; tandrel-notch --help lists the options.")},
        {{QStringLiteral("--bogus"), QStringLiteral("--screen")},
         QStringLiteral("There is no option --bogus; tandrel-notch --help lists the options.")},
        {{QStringLiteral("--demo"), QStringLiteral("now")},
         QStringLiteral("Unexpected argument \"now\"; tandrel-notch --help lists the options.")},
        // The next argument is no screen name when it is an option.
        {{QStringLiteral("--screen"), QStringLiteral("--demo")}, QStringLiteral("--screen needs a screen name: --screen=NAME.")},
    };
    for (const auto &[switches, error] : bad) {
        options = parse(switches);
        EXPECT_EQ(options.error, error) << qPrintable(switches.join(u' '));
    }
}

// Returns one button layout for every dialog button box, as a desktop's style would.
class LayoutStyle : public QProxyStyle
{
public:
    explicit LayoutStyle(int layout) : m_layout(layout) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *data) const override
    {
        if (hint == SH_DialogButtonLayout)
            return m_layout;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    int m_layout;
};

TEST(QuitAlertBox, KeepEditingComesFirstAndIsTheDefaultOnEveryDesktop)
{
    const AppDelegate::QuitAlert alert{QStringLiteral("Discard unsent drafts and quit?"), QStringLiteral("Lost."),
                                       {QStringLiteral("Keep Editing"), QStringLiteral("Discard Drafts and Quit")},
                                       0};
    for (const QDialogButtonBox::ButtonLayout layout :
         {QDialogButtonBox::WinLayout, QDialogButtonBox::MacLayout, QDialogButtonBox::KdeLayout,
          QDialogButtonBox::GnomeLayout, QDialogButtonBox::AndroidLayout}) {
        QList<QPushButton *> buttons;
        const std::unique_ptr<QMessageBox> box = QuitAlertBox::build(alert, buttons);
        ASSERT_EQ(buttons.size(), 2);
        auto *buttonBox = box->findChild<QDialogButtonBox *>();
        ASSERT_TRUE(buttonBox);
        LayoutStyle style(layout);
        buttonBox->setStyle(&style);
        box->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(buttons.at(0)->text(), QStringLiteral("Keep Editing"));
        EXPECT_LT(buttons.at(0)->mapTo(box.get(), QPoint()).x(), buttons.at(1)->mapTo(box.get(), QPoint()).x())
            << "layout " << int(layout);
        EXPECT_EQ(box->defaultButton(), buttons.at(0));
        EXPECT_EQ(box->escapeButton(), buttons.at(0));
        box->hide();
        buttonBox->setStyle(nullptr);
    }
}

} // namespace
