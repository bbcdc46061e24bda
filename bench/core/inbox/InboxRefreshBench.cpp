#include "SnapshotGenerator.h"
#include "inbox/Inbox.h"
#include "liveinbox/SystemScheduler.h"
#include "liveinbox/WireDecoder.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

// Hands every command the prepared bytes at once.
class ImmediateRunner final : public CommandRunner
{
public:
    void run(const QString &, const std::optional<QString> &, const std::optional<QString> &, const QStringList &,
             Completion done) override
    {
        done(*output);
    }
    const QByteArray *output = nullptr;
};

struct Bench
{
    SystemScheduler scheduler;
    ImmediateRunner *runner = nullptr;
    std::unique_ptr<Inbox> inbox;

    Bench()
    {
        InboxServices services;
        services.scheduler = &scheduler;
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

std::size_t walk(simdjson::dom::element value)
{
    using namespace simdjson;
    switch (value.type()) {
    case dom::element_type::OBJECT: {
        std::size_t total = 0;
        for (const dom::key_value_pair member : dom::object(value))
            total += member.key.size() + walk(member.value);
        return total;
    }
    case dom::element_type::ARRAY: {
        std::size_t total = 0;
        for (const dom::element item : dom::array(value))
            total += walk(item);
        return total;
    }
    case dom::element_type::STRING: return std::string_view(value).size();
    case dom::element_type::INT64: return std::size_t(int64_t(value));
    case dom::element_type::UINT64: return std::size_t(uint64_t(value));
    case dom::element_type::DOUBLE: return std::size_t(double(value));
    case dom::element_type::BOOL: return bool(value) ? 1 : 0;
    case dom::element_type::NULL_VALUE: return 0;
    }
    return 0;
}

void floorParseAndWalk(benchmark::State &state)
{
    const QByteArray &bytes = snapshot(int(state.range(0)));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()), false).get(root))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(walk(root));
    }
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

// The list with an empty thread-member cache, as after every write of the message list.
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
        bench.inbox->setMessages(std::move(copy));
        state.ResumeTiming();
        benchmark::DoNotOptimize(bench.inbox->visible());
    }
}

} // namespace

BENCHMARK(floorParseAndWalk)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeOnly)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshCold)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(refreshWarm)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(visibleColdMembers)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
