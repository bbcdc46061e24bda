// The views over time: the live application, offscreen, against the scripted stand-in of the service's tool
// and a sync socket on loopback. It runs, in order:
//   - list <-> reader switches over messages of every body kind (short, Markdown with code and quotes, chat,
//     tucked preview), each side drawn;
//   - search openings with typing and clearing, through the header's button and key presses;
//   - visits to a message with an HTML attachment, each until the page has loaded, then back to the list
//     until the view's own engine process is gone;
//   - state-change hints at a steady rate while the list shows; each one refreshes through the tool.
// It reports the resident memory of this process and of the web engine's processes, their number and this
// process's open descriptors at the start, after a warm-up round of every step, after each step and at the
// end.
//   views_endurance [--switches N] [--searches N] [--visits N] [--hints N] [--rate PER_SECOND]
// Defaults: 1000 switches, 200 searches, 100 visits, 10000 hints at 20 per second (the hints alone take
// 500 s of real time; the rate is the only clock it drives).

#include "AppDelegate.h"
#include "NotchPanel.h"
#include "WebViewModule.h"

#include "inbox/Inbox.h"
#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>

#include <cstdio>
#include <unistd.h>

namespace {

const QString tool = QStringLiteral(SCRIPTED_TOOL_PATH);

long statusKiB(const QString &pid, const char *key)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// This process's descendants that are web engine processes (the tool's short-lived runs are not counted).
QStringList engineProcesses()
{
    QHash<QString, QString> parents;
    QHash<QString, QString> names;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const qsizetype open = text.indexOf('(');
        const qsizetype close = text.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        names.insert(pid, QString::fromUtf8(text.mid(open + 1, close - open - 1)));
        parents.insert(pid, QString::fromLatin1(text.mid(close + 2).split(' ').value(1)));
    }
    QStringList found;
    QStringList pending{QString::number(getpid())};
    while (!pending.isEmpty()) {
        const QString parent = pending.takeFirst();
        for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
            if (it.value() != parent)
                continue;
            pending.append(it.key());
            if (names.value(it.key()).startsWith(QLatin1String("QtWebEngine")))
                found.append(it.key());
        }
    }
    return found;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

struct Figures
{
    long selfKiB = 0;
    long engineKiB = 0;
    int engines = 0;
    int descriptors = 0;
};

Figures measure()
{
    Figures figures;
    figures.selfKiB = statusKiB(QString::number(getpid()), "VmRSS:");
    const QStringList engines = engineProcesses();
    figures.engines = int(engines.size());
    for (const QString &pid : engines)
        figures.engineKiB += statusKiB(pid, "VmRSS:");
    figures.descriptors = openDescriptors();
    return figures;
}

void report(const char *stage, const Figures &f)
{
    std::printf("%-34s this process %7.1f MiB  engine %7.1f MiB in %d processes  descriptors %d\n", stage,
                double(f.selfKiB) / 1024, double(f.engineKiB) / 1024, f.engines, f.descriptors);
    std::fflush(stdout);
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
    if (item->objectName() == name && item->isVisible())
        return item;
    for (QQuickItem *child : item->childItems())
        if (QQuickItem *found = find(child, name))
            return found;
    return nullptr;
}

QString base64(const QByteArray &bytes) { return QString::fromLatin1(bytes.toBase64()); }

QJsonObject record(const QString &id, const QString &scope, const QString &kind, const QString &subject,
                   const QString &body, double createdAt, bool focused = false)
{
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("messageId"), QStringLiteral("msg-") + id},
                       {QStringLiteral("scopeId"), scope},
                       {QStringLiteral("conversationId"), QStringLiteral("c-") + id},
                       {QStringLiteral("senderId"), QStringLiteral("other")},
                       {QStringLiteral("sender"), QStringLiteral("Nora Patel")},
                       {QStringLiteral("subject"), subject},
                       {QStringLiteral("body"), body},
                       {QStringLiteral("categories"), QJsonArray()},
                       {QStringLiteral("kind"), kind},
                       {QStringLiteral("createdAt"), createdAt},
                       {QStringLiteral("unread"), false},
                       {QStringLiteral("focused"), focused},
                       {QStringLiteral("focusIndex"), 0}};
}

// One message of every body kind, one with an HTML attachment, and some to fill the list.
QByteArray snapshot()
{
    QString markdown = QStringLiteral("# Release notes\n\nThe **build** is _green_ again; see [the log](https://ci.example/1).\n\n");
    for (int i = 0; i < 40; ++i)
        markdown += QStringLiteral("> quoted line %1 of the earlier message\n\n```\nfor (int i = 0; i < %1; ++i)\n    step(i);\n```\n\n- item %1 with `code`\n\n").arg(i);
    QString tucked;
    for (int i = 0; i < 200; ++i)
        tucked += QStringLiteral("A long focused message, line %1, shown tucked as a preview.\n").arg(i);
    const QByteArray html = "<!doctype html><style>body{background:#123;color:#eee}</style><h1>Chart</h1>"
                            "<canvas id=c width=300 height=150></canvas><script>const x=document.getElementById('c')"
                            ".getContext('2d');for(let i=0;i<30;i++)x.fillRect(i*10,150-i*4,8,i*4);</script>";

    QJsonArray messages{
        record(QStringLiteral("short"), QStringLiteral("personal"), QStringLiteral("inbox"), QStringLiteral("Lunch?"),
               QStringLiteral("Noon at the usual place."), 10),
        record(QStringLiteral("markdown"), QStringLiteral("personal"), QStringLiteral("inbox"),
               QStringLiteral("Release notes"), markdown, 9),
        record(QStringLiteral("chat"), QStringLiteral("team"), QStringLiteral("direct"), QStringLiteral("Standup"),
               QStringLiteral("Are we still on for ten?"), 8),
        record(QStringLiteral("tucked"), QStringLiteral("personal"), QStringLiteral("inbox"),
               QStringLiteral("Focused plan"), tucked, 7, true),
    };
    QJsonObject attached = record(QStringLiteral("chart"), QStringLiteral("personal"), QStringLiteral("inbox"),
                                  QStringLiteral("Weekly chart"), QStringLiteral("The chart is attached."), 6);
    attached.insert(QStringLiteral("files"),
                    QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("chart.html")},
                                           {QStringLiteral("type"), QStringLiteral("text/html")},
                                           {QStringLiteral("data"), base64(html)}}});
    messages.append(attached);
    for (int i = 0; i < 30; ++i)
        messages.append(record(QStringLiteral("fill%1").arg(i), QStringLiteral("personal"), QStringLiteral("inbox"),
                               QStringLiteral("Message %1").arg(i), QStringLiteral("Body %1").arg(i), 5 - i * 0.01));

    const QJsonObject root{
        {QStringLiteral("version"), 1},
        {QStringLiteral("account"), QJsonObject{{QStringLiteral("id"), QStringLiteral("me")},
                                                {QStringLiteral("origin"), QStringLiteral("https://tandrel.example")},
                                                {QStringLiteral("provider"), QStringLiteral("google")}}},
        {QStringLiteral("fetchedAt"), 1},
        {QStringLiteral("scopes"),
         QJsonArray{QJsonObject{{QStringLiteral("id"), QStringLiteral("personal")}, {QStringLiteral("name"), QStringLiteral("Personal")},
                                {QStringLiteral("colors"), QJsonObject()}},
                    QJsonObject{{QStringLiteral("id"), QStringLiteral("team")}, {QStringLiteral("name"), QStringLiteral("Team")},
                                {QStringLiteral("colors"), QJsonObject()}}}},
        {QStringLiteral("messages"), messages},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QString quoted(const QString &text) { return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1); }

struct Counts
{
    int switches = 1000;
    int searches = 200;
    int visits = 100;
    int hints = 10000;
    double rate = 20;
};

Counts parse(const QStringList &arguments)
{
    Counts counts;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const QString &name = arguments[i];
        const QString &value = arguments[i + 1];
        if (name == u"--switches")
            counts.switches = value.toInt();
        else if (name == u"--searches")
            counts.searches = value.toInt();
        else if (name == u"--visits")
            counts.visits = value.toInt();
        else if (name == u"--hints")
            counts.hints = value.toInt();
        else if (name == u"--rate")
            counts.rate = value.toDouble();
    }
    return counts;
}

class Endurance
{
public:
    explicit Endurance(AppDelegate &app) : m_app(app) {}

    void frame() { m_app.panel()->grabWindow(); }
    QQuickItem *item(const QString &name) { return find(m_app.panel()->contentItem(), name); }
    Inbox &inbox() { return m_app.inbox(); }

    const Message *message(const QString &subject)
    {
        for (const Message &m : inbox().messages())
            if (m.subject == subject)
                return &m;
        return nullptr;
    }

    // Opens the reader on `subject`, draws it, goes back to the list and draws that.
    void switchTo(const QString &subject)
    {
        const Message *m = message(subject);
        if (!m)
            return;
        inbox().select(*m);
        spin(5);
        frame();
        inbox().deselect();
        spin(5);
        frame();
    }

    void click(QQuickItem *target)
    {
        if (!target)
            return;
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(m_app.panel(), Qt::LeftButton, {}, centre.toPoint());
        spin(5);
    }

    // Opens the search with its button, types a word letter by letter, clears it and closes the search.
    bool search(const QString &word)
    {
        QQuickItem *toggle = item(QStringLiteral("searchToggle"));
        if (!toggle)
            return false;
        click(toggle);
        frame();
        for (const QChar c : word) {
            QTest::keyClick(m_app.panel(), c.toLatin1());
            frame();
        }
        if (inbox().query() == word)
            ++typed;
        for (qsizetype i = 0; i < word.size(); ++i) {
            QTest::keyClick(m_app.panel(), Qt::Key_Backspace);
            frame();
        }
        click(item(QStringLiteral("searchToggle")));
        frame();
        return inbox().query().isEmpty();
    }

    // Shows the attachment until its page has loaded, then goes back to the list until the view's own
    // engine process has gone (the engine's shared helpers stay).
    bool visit(int helpers)
    {
        const Message *m = message(QStringLiteral("Weekly chart"));
        if (!m)
            return false;
        inbox().select(*m);
        bool loaded = false;
        spin(20000, [&] {
            frame();
            QQuickItem *view = item(QStringLiteral("visualizationView"));
            loaded = view && view->property("loadProgress").toInt() == 100 && !view->property("loading").toBool();
            return loaded;
        });
        inbox().deselect();
        spin(200);
        frame();
        spin(10000, [&] { return int(engineProcesses().size()) <= helpers; });
        return loaded;
    }

    int typed = 0; // searches whose field took every letter

private:
    AppDelegate &m_app;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    WebViewModule::prepareApplication();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const Counts counts = parse(QCoreApplication::arguments());

    // The sync socket's server: it takes every client and sends each hint to the newest one.
    QWebSocketServer server(QStringLiteral("sync"), QWebSocketServer::NonSecureMode);
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "views_endurance: cannot listen on loopback\n");
        return 1;
    }
    QList<QWebSocket *> clients;
    QObject::connect(&server, &QWebSocketServer::newConnection, [&] {
        while (QWebSocket *socket = server.nextPendingConnection()) {
            socket->setParent(&server);
            clients.append(socket);
            QObject::connect(socket, &QWebSocket::disconnected, socket, [&clients, socket] {
                clients.removeAll(socket);
                socket->deleteLater();
            });
        }
    });

    // A private home whose configuration runs the scripted tool: a fixed snapshot, one sync channel.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString subscriptions =
        QStringLiteral(R"({"subscriptions":[{"url":"ws://127.0.0.1:%1/sync","ticket":"t","expiresAt":1}]})").arg(server.serverPort());
    const QString script = QStringLiteral("only:snapshot;out:") + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(snapshot()))) +
                           QStringLiteral(";only:subscriptions;out:") + QString::fromLatin1(QUrl::toPercentEncoding(subscriptions));
    QDir().mkpath(home.filePath(QStringLiteral(".config/tandrel")));
    QFile configuration(home.filePath(QStringLiteral(".config/tandrel/notch.json")));
    if (!configuration.open(QIODevice::WriteOnly))
        return 1;
    configuration.write(QStringLiteral(R"({"node": %1, "cli": %2, "origin": "https://tandrel.example", "config": %3, "provider": "google"})")
                            .arg(quoted(tool), quoted(script), quoted(home.path()))
                            .toUtf8());
    configuration.close();

    SystemScheduler scheduler;
    AppDelegate::Options options;
    options.arguments = {QStringLiteral("tandrel-notch")};
    options.scheduler = &scheduler;
    options.statusItem = false;
    options.systemMonitors = false;
    options.pointerLocation = [] { return QPointF(5, 590); };
    AppDelegate app(std::move(options));
    app.applicationDidFinishLaunching();
    Endurance run(app);
    spin(20000, [&] { return run.inbox().messages().size() >= 35 && !clients.isEmpty(); });
    if (run.inbox().messages().size() < 35 || clients.isEmpty()) {
        std::fprintf(stderr, "views_endurance: no snapshot or no sync socket (%s)\n",
                     qPrintable(run.inbox().connectionError().value_or(QString())));
        return 1;
    }
    run.inbox().setPinned(true);
    run.inbox().open();
    spin(500);
    run.frame();
    report("start", measure());

    const QStringList kinds{QStringLiteral("Lunch?"), QStringLiteral("Release notes"), QStringLiteral("Standup"),
                            QStringLiteral("Focused plan")};
    const QStringList words{QStringLiteral("release"), QStringLiteral("lunch"), QStringLiteral("zzz"), QStringLiteral("message 1")};
    int hintsSent = 0;
    int refreshes = 0;
    Inbox *inbox = &run.inbox();
    const QMetaObject::Connection counting = QObject::connect(inbox, &Inbox::refreshInFlightChanged, [&refreshes, inbox] {
        if (!inbox->refreshInFlight())
            ++refreshes;
    });
    auto hints = [&](int count) {
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(int(1000 / counts.rate));
        int sent = 0;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (!clients.isEmpty())
                clients.last()->sendTextMessage(QStringLiteral(R"({"type":"stateChange","version":1})"));
            ++sent;
            if (sent % 20 == 0)
                run.frame();
        });
        timer.start();
        spin(int(count * 1000 / counts.rate) + 60000, [&] { return sent >= count; });
        timer.stop();
        hintsSent += sent;
        spin(1000, [&] { return !run.inbox().refreshInFlight(); });
        run.frame();
    };

    // Warm-up: every step a few times, so that caches, pools and the engine's helpers exist.
    for (int i = 0; i < 40; ++i)
        run.switchTo(kinds.at(i % kinds.size()));
    for (int i = 0; i < 5; ++i)
        run.search(words.at(i % words.size()));
    const int helpersBefore = int(engineProcesses().size());
    run.visit(helpersBefore);
    run.visit(99);
    const int helpers = int(engineProcesses().size()); // the engine's shared helpers, once it has started
    run.visit(helpers);
    hints(100);
    const Figures warm = measure();
    report("after warm-up", warm);

    for (int i = 0; i < counts.switches; ++i)
        run.switchTo(kinds.at(i % kinds.size()));
    report(qPrintable(QStringLiteral("after %1 switches").arg(counts.switches)), measure());

    int searched = 5;
    for (int i = 0; i < counts.searches; ++i)
        searched += run.search(words.at(i % words.size())) ? 1 : 0;
    report(qPrintable(QStringLiteral("after %1 searches").arg(counts.searches)), measure());

    int loaded = 0;
    for (int i = 0; i < counts.visits; ++i)
        loaded += run.visit(helpers) ? 1 : 0;
    report(qPrintable(QStringLiteral("after %1 attachment visits").arg(counts.visits)), measure());

    hints(counts.hints);
    spin(2000);
    run.frame();
    const Figures end = measure();
    report(qPrintable(QStringLiteral("after %1 hints").arg(counts.hints)), end);

    std::printf("searches typed %d and ended empty %d of %d; pages loaded %d of %d; hints sent %d, refreshes %d;"
                " engine helpers %d; connection error: %s\n",
                run.typed, searched, counts.searches + 5, loaded, counts.visits, hintsSent, refreshes, helpers,
                qPrintable(run.inbox().connectionError().value_or(QStringLiteral("none"))));
    std::printf("growth after warm-up: this process %+.1f MiB, engine %+.1f MiB, descriptors %+d, engine processes %+d\n",
                double(end.selfKiB - warm.selfKiB) / 1024, double(end.engineKiB - warm.engineKiB) / 1024,
                end.descriptors - warm.descriptors, end.engines - warm.engines);
    std::fflush(stdout);
    QObject::disconnect(counting);
    return 0;
}
