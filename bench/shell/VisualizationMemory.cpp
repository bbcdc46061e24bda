// The memory an HTML attachment costs: the demo's resident memory (this process plus the web engine's
// helper processes) on the list, while the visualization sample shows, and after going back to the list.
//   visualization_memory
// Offscreen; prints one line per stage, in MiB, and the number of engine processes.

#include "AppDelegate.h"
#include "NotchPanel.h"
#include "WebViewModule.h"

#include "inbox/DemoSamples.h"
#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QQmlEngine>
#include <QQuickItem>

#include <cstdio>
#include <unistd.h>

namespace {

// Resident kilobytes of a process, from /proc/<pid>/status.
long residentKiB(const QString &pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// This process's descendants, by parent id.
QStringList descendants(const QString &root)
{
    QHash<QString, QString> parents;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        parents.insert(pid, QString::fromLatin1(fields.value(1)));
    }
    QStringList found;
    QStringList pending{root};
    while (!pending.isEmpty()) {
        const QString parent = pending.takeFirst();
        for (auto it = parents.cbegin(); it != parents.cend(); ++it)
            if (it.value() == parent) {
                found.append(it.key());
                pending.append(it.key());
            }
    }
    return found;
}

void report(const char *stage)
{
    const QString self = QString::number(getpid());
    const QStringList children = descendants(self);
    long total = residentKiB(self);
    for (const QString &child : children)
        total += residentKiB(child);
    std::printf("%-28s %7.1f MiB  (this process %6.1f MiB, %lld engine processes)\n", stage, double(total) / 1024,
                double(residentKiB(self)) / 1024, static_cast<long long>(children.size()));
}

void spin(int ms, const std::function<bool()> &until = {})
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !(until && until())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // As the application's event loop does: objects let go of are deleted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QQuickItem *find(QQuickItem *item, const QString &name)
{
    if (!item)
        return nullptr;
    if (item->objectName() == name)
        return item;
    for (QQuickItem *child : item->childItems())
        if (QQuickItem *found = find(child, name))
            return found;
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    WebViewModule::prepareApplication();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    SystemScheduler scheduler;
    AppDelegate::Options options;
    options.arguments = {QStringLiteral("tandrel-notch"), AppDelegate::demoSwitch};
    options.scheduler = &scheduler;
    options.statusItem = false;
    options.systemMonitors = false;
    options.pointerLocation = [] { return QPointF(5, 590); };
    AppDelegate app(std::move(options));
    app.applicationDidFinishLaunching();
    spin(1500);
    report("demo, list");

    const Message sample = DemoSamples::instance().visualizationSample();
    QList<Message> messages = app.inbox().messages();
    messages.prepend(sample);
    app.inbox().setMessages(messages);
    // Shown and left three times: the engine's share must stay bounded, not grow per visit.
    for (int visit = 1; visit <= 3; ++visit) {
        app.inbox().select(sample);
        spin(20000, [&] {
            app.panel()->grabWindow();
            QQuickItem *view = find(app.panel()->contentItem(), QStringLiteral("visualizationView"));
            return view && view->property("loadProgress").toInt() == 100 && !view->property("loading").toBool();
        });
        spin(1500);
        report(qPrintable(QStringLiteral("visualization showing (%1)").arg(visit)));
        app.inbox().deselect();
        spin(1000);
        app.panel()->grabWindow();
        spin(5000, [] { return descendants(QString::number(getpid())).isEmpty(); });
        report(qPrintable(QStringLiteral("back on the list (%1)").arg(visit)));
    }
    return 0;
}
