#include "ImmediateRunner.h"
#include "SnapshotGenerator.h"
#include "inbox/Inbox.h"
#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/SystemScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

// Resident memory of a live inbox holding one applied snapshot, against the snapshot's size in bytes.
//
// Each measurement runs in a fresh process (this executable started again with "--measure N"), so no
// earlier benchmark's buffers or pools are counted or hidden. Resident bytes are read from /proc after
// returning free heap pages to the system, so the figure is what the model keeps, not what the allocator
// happens to hold on to.

namespace {

constexpr const char *measureSwitch = "--measure";


std::int64_t residentBytes()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields[1].toLongLong() * sysconf(_SC_PAGESIZE);
}

// Refreshes the inbox as the application does (decoding off the main thread) and waits for the result.
bool refreshAndWait(Inbox &inbox)
{
    inbox.refresh();
    QElapsedTimer timer;
    timer.start();
    while (inbox.refreshInFlight() && timer.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return !inbox.refreshInFlight() && !inbox.connectionError();
}

// In the child: prints "<snapshot bytes> <after first refresh> <after second refresh>" (resident deltas).
int measure(int messages)
{
    const QByteArray bytes = SnapshotGenerator::generate({.messages = messages});
    SystemScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    auto runner = std::make_unique<ImmediateRunner>();
    runner->output = &bytes;
    services.connection = std::move(runner);
    auto decoder = std::make_shared<SnapshotDecoder>();
    services.prepareSnapshot = [decoder](QByteArray input, LiveMessageCache cache,
                                         std::function<void(Result<PreparedSnapshot>)> done) {
        decoder->prepare(std::move(input), std::move(cache), std::move(done));
    };
    Inbox inbox(true, std::move(services));
    const std::int64_t before = residentBytes();
    if (!refreshAndWait(inbox))
        return 1;
    benchmark::DoNotOptimize(inbox.visible());
    const std::int64_t first = residentBytes();
    // A second snapshot of the same bytes: the steady state of an inbox that keeps refreshing.
    if (!refreshAndWait(inbox))
        return 1;
    benchmark::DoNotOptimize(inbox.visible());
    const std::int64_t second = residentBytes();
    std::printf("%lld %lld %lld\n", static_cast<long long>(bytes.size()), static_cast<long long>(first - before),
                static_cast<long long>(second - before));
    return 0;
}

void modelResident(benchmark::State &state)
{
    double ratioFirst = 0;
    double ratioSteady = 0;
    double megabytes = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QString::fromLatin1(measureSwitch), QString::number(state.range(0))});
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        child.setProcessEnvironment(environment);
        child.start();
        if (!child.waitForFinished(300000) || child.exitCode() != 0) {
            state.SkipWithError("the measuring process failed");
            return;
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 3) {
            state.SkipWithError("unexpected output of the measuring process");
            return;
        }
        const double size = figures[0].toDouble();
        megabytes = size / 1e6;
        ratioFirst += figures[1].toDouble() / size;
        ratioSteady += figures[2].toDouble() / size;
    }
    state.counters["snapshotMB"] = megabytes;
    state.counters["firstRatio"] = benchmark::Counter(ratioFirst, benchmark::Counter::kAvgIterations);
    state.counters["steadyRatio"] = benchmark::Counter(ratioSteady, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(modelResident)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], measureSwitch) == 0)
        return measure(std::atoi(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
