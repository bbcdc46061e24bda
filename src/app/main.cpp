#include "AppDelegate.h"
#include "AppIdentity.h"
#include "NotchApplication.h"
#include "NotchPanel.h"
#include "LaunchOptions.h"
#include "Translations.h"
#include "WebViewModule.h"
#include "X11DisplayCheck.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

// The panel needs X11 (input shapes, raw pointer events, window-manager states): in a Wayland session the
// application runs through XWayland unless a platform was chosen explicitly.
void preferX11UnderWayland(const LaunchOptions &options)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !options.platform.isEmpty())
        return;
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// Answers the command line that needs no display (--help, --version, a bad option) or cannot have one,
// in the user's language, with the status to end with.
int answerWithoutDisplay(int argc, char *argv[], const QStringList &arguments,
                         const std::optional<X11DisplayCheck> &display)
{
    QCoreApplication app(argc, argv);
    Translations translations;
    translations.install();
    // Read again, so its messages come in the user's language.
    const LaunchOptions options = LaunchOptions::parse(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "tandrel-notch: %s\n", options.error.toLocal8Bit().constData());
        return 2;
    }
    if (options.help || options.version) {
        const QString text = options.help ? LaunchOptions::helpText() : LaunchOptions::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!display)
        return 1;
    std::fprintf(stderr, "%s\n", display->problem().toLocal8Bit().constData());
    return 1;
}

// Milliseconds since this process started (10 ms resolution), or -1 when unknown.
double millisecondsSinceProcessStart()
{
    FILE *stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return -1;
    char buffer[1024] = {};
    const std::size_t length = std::fread(buffer, 1, sizeof buffer - 1, stat);
    std::fclose(stat);
    // The command name may hold spaces: fields are counted after its closing parenthesis.
    const char *field = std::strrchr(buffer, ')');
    if (!field || length == 0)
        return -1;
    unsigned long long startTicks = 0;
    if (std::sscanf(field + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                    &startTicks) != 1)
        return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - double(startTicks) / ticks) * 1000;
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before anything opens a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const LaunchOptions options = LaunchOptions::parse(arguments);
    preferX11UnderWayland(options);
    const bool answered = !options.error.isEmpty() || options.help || options.version;
    std::optional<X11DisplayCheck> display;
    if (!answered && X11DisplayCheck::platformIsX11(options.platform))
        display.emplace(options.display);
    if (answered || (display && !display->opens()))
        return answerWithoutDisplay(argc, argv, arguments, display);

    WebViewModule::prepareApplication(); // before the application object

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandrel Notch"));
    QApplication::setApplicationVersion(QStringLiteral(TANDREL_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kTandrelAppId));
    QApplication::setQuitOnLastWindowClosed(false);
    Translations translations;
    translations.install();

    SystemScheduler scheduler;
    NotchApplication notch(QApplication::arguments(), scheduler);
    if (const std::optional<int> status = notch.start())
        return *status;

    // For start-up measurements: the time from the process's start to its first frame on screen.
    if (qEnvironmentVariableIsSet("TANDREL_FIRST_FRAME_STAMP") && notch.delegate() && notch.delegate()->panel()) {
        QObject::connect(notch.delegate()->panel(), &NotchPanel::firstFrameSwapped,
                         [] { std::fprintf(stderr, "first-frame-ms %.0f\n", millisecondsSinceProcessStart()); });
    }
    return app.exec();
}
