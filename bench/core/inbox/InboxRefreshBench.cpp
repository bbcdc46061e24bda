#include "ImmediateRunner.h"
#include "JsonFloor.h"
#include "SnapshotGenerator.h"
#include "inbox/Inbox.h"
#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/SystemScheduler.h"
#include "liveinbox/WireDecoder.h"
#include "records/ThreadIndex.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {


struct Bench
{
    SystemScheduler scheduler;
    ImmediateRunner *runner = nullptr;
    std::unique_ptr<Inbox> inbox;

    using Prepare = std::function<void(QByteArray, LiveMessageCache, std::function<void(Result<PreparedSnapshot>)>)>;

    explicit Bench(Prepare prepare = {})
    {
        InboxServices services;
        services.scheduler = &scheduler;
        services.prepareSnapshot = std::move(prepare);
        auto runner = std::make_unique<ImmediateRunner>();
        this->runner = runner.get();
        services.connection = std::move(runner);
        inbox = std::make_unique<Inbox>(true, std::move(services));
    }

    // One whole refresh: the tool's bytes to an applied model with the list and counters computed.
    void refresh(const QByteArray &bytes)
    {
        runner->output = &bytes;
        inbox->refresh();
        benchmark::DoNotOptimize(inbox->visible());
        benchmark::DoNotOptimize(inbox->totalUnreadCount());
        benchmark::DoNotOptimize(inbox->unreadCount());
        benchmark::DoNotOptimize(inbox->sortedScopes());
    }
};

const QByteArray &snapshot(int messages, const char *account = "acct-1")
{
    static std::map<std::pair<int, std::string>, QByteArray> cache;
    auto &bytes = cache[{messages, account}];
    if (bytes.isEmpty())
        bytes = SnapshotGenerator::generate({.messages = messages, .accountId = account});
    return bytes;
}

void floorParseAndWalk(benchmark::State &state)
{
    JsonFloor::run(state, snapshot(int(state.range(0))));
}

void decodeOnly(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(WireDecoder::snapshot(bytes));
}

// Every refresh comes from another account, so every message is converted.
void refreshCold(benchmark::State &state)
{
    const QByteArray &a = snapshot(int(state.range(0)), "acct-1");
    const QByteArray &b = snapshot(int(state.range(0)), "acct-2");
    Bench bench;
    bool flip = false;
    for (auto _ : state) {
        bench.refresh(flip ? a : b);
        flip = !flip;
    }
}

// The same bytes again: every message is reused.
void refreshWarm(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    Bench bench;
    bench.refresh(bytes);
    for (auto _ : state)
        bench.refresh(bytes);
}

// The main thread's share when decoding and conversion run on a worker: the worker's product (made through
// the cache the inbox hands it) is handed over ready. Each refresh's product is made, untimed, from the cache
// as the previous refresh left it.
struct MainThreadShare
{
    std::optional<PreparedSnapshot> ready;
    LiveMessageCache cache;
    // The inbox's cache as handed to the worker, which drops it there (untimed here: see prepare).
    std::optional<LiveMessageCache> handed;
    Bench bench{[this](QByteArray, LiveMessageCache given, std::function<void(Result<PreparedSnapshot>)> done) {
        handed = std::move(given);
        done(std::move(*ready));
    }};

    // The worker's part, untimed by the caller. The copy of the cache kept here is what the inbox adopts and
    // the next product starts from; as in the application, the inbox then holds the last reference to the
    // state it replaces.
    void prepare(const QByteArray &bytes)
    {
        handed.reset();
        ready = PreparedSnapshot::prepare(bytes, cache).value();
        ready->release = &SnapshotDecoder::releaseAway;
        cache = ready->cache;
    }
    void refresh(const QByteArray &bytes) { bench.refresh(bytes); }
};

void refreshWarmMainThread(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    MainThreadShare share;
    share.prepare(bytes);
    share.refresh(bytes);
    for (auto _ : state) {
        state.PauseTiming();
        share.prepare(bytes);
        state.ResumeTiming();
        share.refresh(bytes);
    }
}

// The main thread's share of a refresh from another account (a first snapshot, or an account change),
// when the worker hands over what it prepared: every message is new to the inbox.
void refreshColdMainThread(benchmark::State &state)
{
    const QByteArray &a = snapshot(int(state.range(0)), "acct-1");
    const QByteArray &b = snapshot(int(state.range(0)), "acct-2");
    MainThreadShare share;
    share.prepare(a);
    share.refresh(a);
    bool flip = false;
    for (auto _ : state) {
        const QByteArray &bytes = flip ? a : b;
        state.PauseTiming();
        share.prepare(bytes);
        state.ResumeTiming();
        share.refresh(bytes);
        flip = !flip;
    }
}

// The list with an empty thread-member cache, as after every write of the message list (the write's own
// notifications included).
void visibleColdMembers(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    Bench bench;
    bench.refresh(bytes);
    QList<Message> messages = bench.inbox->messages();
    for (auto _ : state) {
        state.PauseTiming();
        QList<Message> copy = messages;
        copy.detach(); // another list: the thread index starts cold
        state.ResumeTiming();
        bench.inbox->setMessages(std::move(copy)); // the counters it notifies build the index
        benchmark::DoNotOptimize(bench.inbox->visible());
    }
}

// The thread index alone, the part of a cold list that grows faster than the list: it looks up every
// reply's parent by server id, a read of a scattered message text per lookup.
void threadIndexBuild(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    Bench bench;
    bench.refresh(bytes);
    const QList<Message> messages = bench.inbox->messages();
    for (auto _ : state) {
        ThreadIndex threads(messages, true);
        benchmark::DoNotOptimize(&threads);
    }
}

} // namespace

BENCHMARK(floorParseAndWalk)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeOnly)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshCold)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshWarm)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshWarmMainThread)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshColdMainThread)->Arg(10000)->Unit(benchmark::kMillisecond);
// How the list scales: linear growth is 10x per step.
BENCHMARK(visibleColdMembers)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(threadIndexBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
