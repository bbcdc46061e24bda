// "Start at login": the XDG autostart entry under a temporary XDG_CONFIG_HOME, through the menu item the user
// checks, and its failures as one line in the inbox's action error.

#include "AppTestSupport.h"
#include "AutostartEntry.h"
#include "TrayMenu.h"

#include "AppIdentity.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// desktop-file-validate's verdict on an entry, or nothing when the tool is not installed.
std::optional<QString> validationProblems(const QString &path)
{
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(validator, {path});
    if (!process.waitForFinished(60000))
        return QStringLiteral("desktop-file-validate did not finish");
    const QString output = QString::fromUtf8(process.readAll()).trimmed();
    return process.exitCode() == 0 ? output : QStringLiteral("exit %1: %2").arg(process.exitCode()).arg(output);
}

class StartAtLogin : public AppFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        hadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    }
    void TearDown() override
    {
        menu.reset();
        AppFixture::TearDown();
        if (hadConfigHome)
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    void launchWithMenu(const QStringList &switches)
    {
        launch(switches);
        menu = std::make_unique<TrayMenu>(true);
        app->attachMenu(*menu);
    }
    // Opens the menu as the user does and reads its check; closes it again.
    bool checkedWhenOpened()
    {
        menu->popup(QPoint(10, 10));
        EXPECT_TRUE(app->menuTracking());
        const bool checked = menu->startAtLoginAction()->isChecked();
        menu->close();
        EXPECT_FALSE(app->menuTracking());
        return checked;
    }
    QString entryPath() const
    {
        return config.path() + QStringLiteral("/autostart/") + QLatin1String(kTandrelAppId) + QStringLiteral(".desktop");
    }

    QTemporaryDir config;
    QByteArray savedConfigHome;
    bool hadConfigHome = false;
    std::unique_ptr<TrayMenu> menu;
};

TEST_F(StartAtLogin, TheMenuItemWritesAndRemovesTheEntryAndFollowsTheFileWhenTheMenuOpens)
{
    launchWithMenu({QStringLiteral("--demo"), QStringLiteral("--notify")});
    EXPECT_EQ(app->autostart().filePath(), entryPath());
    EXPECT_FALSE(checkedWhenOpened());

    menu->startAtLoginAction()->trigger(); // checks it
    const QByteArray entry = readAll(entryPath());
    ASSERT_FALSE(entry.isEmpty());
    // At login it starts this program, with the notification switch it runs with now.
    const QString exec =
        AutostartEntry::execLine({QCoreApplication::applicationFilePath(), QStringLiteral("--notify")});
    EXPECT_TRUE(entry.contains("\nExec=" + exec.toUtf8() + "\n")) << entry.constData();
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(entry.contains(QByteArray("\nIcon=") + kTandrelAppId + "\n"));
    EXPECT_EQ(validationProblems(entryPath()).value_or(QString()), QString());
    // Replaced atomically: nothing but the entry is left in the folder.
    EXPECT_EQ(QDir(config.path() + QStringLiteral("/autostart")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QLatin1String(kTandrelAppId) + QStringLiteral(".desktop")});
    EXPECT_TRUE(checkedWhenOpened());
    EXPECT_FALSE(inbox().actionError());

    // Changes made outside the application show the next time the menu opens.
    ASSERT_TRUE(QFile::remove(entryPath()));
    EXPECT_FALSE(checkedWhenOpened());
    writeFile(entryPath(), "[Desktop Entry]\nType=Application\nName=Tandrel Notch\nExec=tandrel-notch\n");
    EXPECT_TRUE(checkedWhenOpened());
    writeFile(entryPath(), "[Desktop Entry]\nType=Application\nName=Tandrel Notch\nExec=tandrel-notch\nHidden = true\n");
    EXPECT_FALSE(checkedWhenOpened());

    menu->startAtLoginAction()->trigger(); // on again: the hidden entry is replaced by a full one
    EXPECT_TRUE(AutostartEntry(config.path() + QStringLiteral("/autostart"), {}).enabled());
    EXPECT_FALSE(readAll(entryPath()).contains("Hidden"));
    menu->startAtLoginAction()->trigger(); // off
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_FALSE(checkedWhenOpened());
    menu->startAtLoginAction()->setChecked(true);
    menu->startAtLoginAction()->trigger(); // off while already off: nothing to remove, no error
    EXPECT_FALSE(inbox().actionError());
}

TEST_F(StartAtLogin, AFailureShowsOneLineInTheActionErrorAndTheCheckKeepsTheTruth)
{
    launchWithMenu({QStringLiteral("--demo")});
    // A file where the autostart folder should be.
    writeFile(config.path() + QStringLiteral("/autostart"), "not a folder");
    menu->startAtLoginAction()->trigger();
    ASSERT_TRUE(inbox().actionError());
    EXPECT_EQ(*inbox().actionError(), QStringLiteral("Could not turn on Start at login: cannot create the folder %1.")
                                          .arg(config.path() + QStringLiteral("/autostart")));
    EXPECT_FALSE(menu->startAtLoginAction()->isChecked());
    EXPECT_FALSE(checkedWhenOpened());

    // The next success clears its own error, never someone else's.
    ASSERT_TRUE(QFile::remove(config.path() + QStringLiteral("/autostart")));
    menu->startAtLoginAction()->trigger();
    EXPECT_FALSE(inbox().actionError());
    EXPECT_TRUE(menu->startAtLoginAction()->isChecked());
    inbox().setActionError(QStringLiteral("Could not confirm the saved change."));
    menu->startAtLoginAction()->trigger();
    EXPECT_EQ(inbox().actionError(), QStringLiteral("Could not confirm the saved change."));

    // Removing fails when the entry is a folder with something in it.
    ASSERT_TRUE(QDir().mkpath(entryPath() + QStringLiteral("/inside")));
    app->setStartAtLogin(false);
    ASSERT_TRUE(inbox().actionError());
    EXPECT_TRUE(inbox().actionError()->startsWith(QStringLiteral("Could not turn off Start at login: ") + entryPath()));
    EXPECT_FALSE(inbox().actionError()->contains(QLatin1Char('\n')));
    EXPECT_TRUE(QFileInfo(entryPath()).isDir());
}

TEST(AutostartEntryText, ExecQuotesWhatTheDesktopWouldOtherwiseSplitOrExpand)
{
    EXPECT_EQ(AutostartEntry::execLine({QStringLiteral("/usr/bin/tandrel-notch")}), QStringLiteral("/usr/bin/tandrel-notch"));
    EXPECT_EQ(AutostartEntry::execLine({QStringLiteral("/opt/My Apps/tandrel-notch"), QStringLiteral("--notify")}),
              QStringLiteral("\"/opt/My Apps/tandrel-notch\" --notify"));
    EXPECT_EQ(AutostartEntry::execLine({QStringLiteral("/home/a$b/100%/x\"y`z\\w")}),
              QStringLiteral("\"/home/a\\\\$b/100%%/x\\\\\"y\\\\`z\\\\\\\\w\""));
    EXPECT_EQ(AutostartEntry::execLine({QStringLiteral("/a/50%/notch")}), QStringLiteral("/a/50%%/notch"));

    // Whatever the path, the entry stays valid.
    const QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const AutostartEntry entry(directory.path(), {QStringLiteral("/home/a$b/My Apps/100%/x\"y`z\\w/tandrel-notch")});
    ASSERT_FALSE(entry.setEnabled(true));
    EXPECT_EQ(validationProblems(entry.filePath()).value_or(QString()), QString());
    EXPECT_TRUE(entry.enabled());
}

} // namespace
