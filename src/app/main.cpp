#include "VisualizationSandbox.h"
#include "AppDelegate.h"
#include "AppIdentity.h"
#include "NotchApplication.h"
#include "NotchPanel.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

bool hasArgument(int argc, char *argv[], const char *argument)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], argument) == 0)
            return true;
    }
    return false;
}

// The panel needs X11 (input shapes, raw pointer events, window-manager states): in a Wayland session the
// application runs through XWayland unless a platform was chosen explicitly.
void preferX11UnderWayland(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || hasArgument(argc, argv, "-platform"))
        return;
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
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
    if (hasArgument(argc, argv, "--version")) {
        std::printf("Tandrel Notch %s\n", TANDREL_VERSION);
        return 0;
    }
    preferX11UnderWayland(argc, argv);

    VisualizationSandbox::prepareEngine(); // before the application object

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandrel Notch"));
    QApplication::setApplicationVersion(QStringLiteral(TANDREL_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kTandrelAppId));
    QApplication::setQuitOnLastWindowClosed(false);

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
