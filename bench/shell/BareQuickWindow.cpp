// The yardstick for the panel's memory and start-up figures: a bare Qt Quick window of the panel's size,
// transparent and frameless, showing one rectangle. With TANDREL_FIRST_FRAME_STAMP set it prints the time
// from process start to its first frame, as the application does.

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSurfaceFormat>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

double millisecondsSinceProcessStart()
{
    FILE *stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return -1;
    char buffer[1024] = {};
    std::fread(buffer, 1, sizeof buffer - 1, stat);
    std::fclose(stat);
    const char *field = std::strrchr(buffer, ')');
    unsigned long long startTicks = 0;
    if (!field || std::sscanf(field + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                              &startTicks) != 1)
        return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - double(startTicks) / double(sysconf(_SC_CLK_TCK))) * 1000;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickWindow window;
    window.setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    QSurfaceFormat format = window.format();
    format.setAlphaBufferSize(8);
    window.setFormat(format);
    window.setColor(Qt::transparent);
    window.resize(720, 720);

    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nRectangle { width: 440; height: 402; x: 140; color: \"black\"; radius: 30 }\n",
                      QUrl(QStringLiteral("bare.qml")));
    auto *item = qobject_cast<QQuickItem *>(component.create());
    if (!item)
        return 1;
    item->setParentItem(window.contentItem());
    if (qEnvironmentVariableIsSet("TANDREL_FIRST_FRAME_STAMP")) {
        QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&window] {
            static bool first = true;
            if (first)
                std::fprintf(stderr, "first-frame-ms %.0f\n", millisecondsSinceProcessStart());
            first = false;
        });
    }
    window.show();
    const int status = app.exec();
    delete item;
    return status;
}
