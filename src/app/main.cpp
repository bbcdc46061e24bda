#include "AppDelegate.h"
#include "NotchPanel.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <ctime>

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

} // namespace

int main(int argc, char *argv[])
{
    if (hasArgument(argc, argv, "--version")) {
        std::printf("Tandrel Notch %s\n", TANDREL_VERSION);
        return 0;
    }
    preferX11UnderWayland(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tandrel Notch"));
    QApplication::setApplicationVersion(QStringLiteral(TANDREL_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    SystemScheduler scheduler;
    AppDelegate::Options options;
    options.arguments = QApplication::arguments();
    options.scheduler = &scheduler;
    AppDelegate delegate(std::move(options));
    delegate.applicationDidFinishLaunching();

    // For start-up measurements: the CLOCK_MONOTONIC time of the first frame on screen.
    if (qEnvironmentVariableIsSet("TANDREL_FIRST_FRAME_STAMP") && delegate.panel()) {
        QObject::connect(delegate.panel(), &NotchPanel::firstFrameSwapped, [] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::fprintf(stderr, "first-frame %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        });
    }
    return app.exec();
}
