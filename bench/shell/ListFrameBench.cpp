// From a warm refresh of 10,000 messages to the next rendered frame of the open list, on the offscreen
// platform with the software renderer: the snapshot's bytes arrive, are decoded (on a worker thread, as in
// the application, or on the main thread) and applied, the list model updates by diff, the views lay out
// and one frame is drawn and read back. Each refresh flips one message's unread state, so rows and
// counters change as they do when a hint arrives.

#include "AppDelegate.h"
#include "NotchPanel.h"
#include "SnapshotGenerator.h"
#include "WebViewModule.h"

#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

class SnapshotRunner final : public CommandRunner
{
public:
    void run(const QString &command, const std::optional<QString> &, const std::optional<QString> &,
             const QStringList &, Completion done) override
    {
        if (command != QLatin1String("snapshot"))
            return; // everything else stays pending
        // Posted on an object of the runner's own: a destroyed runner calls back no more.
        QMetaObject::invokeMethod(&m_context, [done, bytes = next] { done(bytes); }, Qt::QueuedConnection);
    }
    QByteArray next;

private:
    QObject m_context;
};

class QuietHints final : public HintSource
{
    class Quiet final : public HintSubscription
    {
        void cancel() override {}
    };

public:
    std::unique_ptr<HintSubscription> notifications(HintHandler, Completion) override
    {
        return std::make_unique<Quiet>();
    }
};

// The demo application, without a tray or global pointer monitors.
AppDelegate::Options demoOptions(Scheduler &scheduler)
{
    AppDelegate::Options options;
    options.arguments = {QStringLiteral("tandrel-notch"), AppDelegate::demoSwitch};
    options.scheduler = &scheduler;
    options.statusItem = false;
    options.systemMonitors = false;
    options.pointerLocation = [] { return QPointF(5, 590); };
    return options;
}

void refreshAndDraw(AppDelegate &app)
{
    app.inbox().refresh();
    while (app.inbox().refreshInFlight())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(); // the list model's coalesced update
    app.panel()->grabWindow();
}

void warmRefreshToFrame(benchmark::State &state)
{
    SnapshotGenerator::Options generated;
    generated.messages = int(state.range(0));
    const QByteArray first = SnapshotGenerator::padded(SnapshotGenerator::generate(generated));
    QByteArray flipped = first;
    const qsizetype at = flipped.indexOf("\"unread\":true");
    flipped.replace(at, 13, "\"unread\":false");
    flipped = SnapshotGenerator::padded(flipped);

    SystemScheduler scheduler;
    SnapshotRunner *runner = nullptr;
    AppDelegate::Options options;
    options.arguments = {QStringLiteral("tandrel-notch")};
    options.scheduler = &scheduler;
    options.statusItem = false;
    options.systemMonitors = false;
    options.pointerLocation = [] { return QPointF(5, 590); };
    options.liveServices = [&runner, &state](Scheduler &s) {
        InboxServices services;
        services.scheduler = &s;
        auto snapshots = std::make_unique<SnapshotRunner>();
        runner = snapshots.get();
        services.connection = std::move(snapshots);
        services.mutationConnection = std::make_unique<SnapshotRunner>();
        services.subscriptionConnection = std::make_unique<SnapshotRunner>();
        services.replyConnection = std::make_unique<SnapshotRunner>();
        services.hints = std::make_unique<QuietHints>();
        services.openUrl = [](const QUrl &) {};
        if (state.range(1)) {
            // As the application does: decoding on a worker thread.
            auto decoder = std::make_shared<SnapshotDecoder>();
            services.prepareSnapshot = [decoder](QByteArray bytes, LiveMessageCache cache,
                                                 std::function<void(Result<PreparedSnapshot>)> done) {
                decoder->prepare(std::move(bytes), std::move(cache), std::move(done));
            };
        }
        return services;
    };
    AppDelegate app(std::move(options));
    runner->next = first;
    app.applicationDidFinishLaunching();
    app.inbox().setPinned(true);
    app.inbox().open();
    refreshAndDraw(app); // the cold refresh and the first frames
    refreshAndDraw(app);

    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        runner->next = flip ? flipped : first;
        refreshAndDraw(app);
    }
    state.counters["rows"] = double(app.inbox().visibleMessages()->rowCount());
}

// The frame alone: a redraw of the open list with nothing changed, the floor of the figure above.
void frameOnly(benchmark::State &state)
{
    SystemScheduler scheduler;
    AppDelegate app(demoOptions(scheduler));
    app.applicationDidFinishLaunching();
    QCoreApplication::processEvents();
    app.panel()->grabWindow();
    for (auto _ : state)
        app.panel()->grabWindow();
}

// From the click on a message with a 1 MB Markdown body to the first frame of its reader (the window's
// frameSwapped): parsing (the content cache is emptied each time), the block list and the visible blocks
// laid out and drawn.
void openLongMessage(benchmark::State &state)
{
    SystemScheduler scheduler;
    AppDelegate app(demoOptions(scheduler));
    app.applicationDidFinishLaunching();
    QString body;
    for (int i = 0; body.size() < 1'000'000; ++i) {
        body += QStringLiteral("## Section %1\n\nA paragraph with **bold**, *emphasis*, `code` and a "
                               "[link](https://tandrel.example/%1) that runs on for a while to wrap.\n\n"
                               "- an item\n- another item\n\n> a quoted line\n\n```\nlet x = %1\n```\n\n")
                    .arg(i);
    }
    QList<Message> messages = app.inbox().messages();
    Message long_ = messages.first();
    long_.id = QUuid::createUuid();
    long_.body = body;
    messages.prepend(long_);
    app.inbox().setMessages(messages);
    QCoreApplication::processEvents();
    app.panel()->grabWindow();
    bool swapped = false;
    QObject::connect(app.panel(), &QQuickWindow::frameSwapped, [&swapped] { swapped = true; });
    for (auto _ : state) {
        app.inbox().contentCache().clear();
        swapped = false;
        QElapsedTimer clock;
        clock.start();
        app.inbox().select(long_);
        while (!swapped)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // What follows the first frame (the cache of blocks around the visible ones), then back to the list.
        app.panel()->grabWindow();
        app.inbox().setSelectedID(std::nullopt);
        QCoreApplication::processEvents();
        app.panel()->grabWindow();
    }
}

} // namespace

BENCHMARK(openLongMessage)->UseManualTime()->Unit(benchmark::kMillisecond);
// Second argument: 1 decodes on a worker thread as the application does, 0 on the main thread.
BENCHMARK(warmRefreshToFrame)->Args({1000, 1})->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(frameOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    WebViewModule::prepareApplication(); // before the application object
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
