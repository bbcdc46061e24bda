#include "JsonFloor.h"
#include "SnapshotGenerator.h"
#include "liveinbox/LiveMessageCache.h"
#include "liveinbox/WireDecoder.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

constexpr int messageCount = 10000;

const QByteArray &input()
{
    static const QByteArray bytes = SnapshotGenerator::generate({.messages = messageCount});
    return bytes;
}

// The same snapshot with one message's unread state flipped.
const QByteArray &inputWithOneChange()
{
    static const QByteArray bytes = [] {
        QByteArray changed = input();
        const qsizetype at = changed.indexOf("\"unread\":false");
        changed.replace(at, 14, "\"unread\":true ");
        return SnapshotGenerator::padded(changed);
    }();
    return bytes;
}

LiveSnapshot decode(benchmark::State &state, const QByteArray &bytes = input())
{
    auto result = WireDecoder::snapshot(bytes);
    if (!result.ok()) {
        state.SkipWithError("decode failed");
        return {};
    }
    return std::move(result).value();
}

// The floor: simdjson's parse plus a plain walk of every field.
void floorParseAndWalk(benchmark::State &state)
{
    JsonFloor::run(state, input());
}

void decodeOnly(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(decode(state));
    state.SetBytesProcessed(int64_t(state.iterations()) * input().size());
}

// A fresh cache every time: every record is converted (and the previous cache torn down).
void decodeAndApplyCold(benchmark::State &state)
{
    for (auto _ : state) {
        LiveMessageCache cache;
        const QList<Message> messages = cache.apply(decode(state));
        benchmark::DoNotOptimize(messages.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * input().size());
}

// The same bytes again into a primed cache: every record is compared and reused.
void decodeAndApplyWarm(benchmark::State &state)
{
    LiveMessageCache cache;
    cache.apply(decode(state));
    for (auto _ : state) {
        const QList<Message> messages = cache.apply(decode(state));
        benchmark::DoNotOptimize(messages.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * input().size());
}

// Successive refreshes in which one record changes each time: the others are compared and reused.
void decodeAndApplyWarmOneChanged(benchmark::State &state)
{
    LiveMessageCache cache;
    cache.apply(decode(state));
    bool flip = false;
    for (auto _ : state) {
        const QList<Message> messages = cache.apply(decode(state, flip ? input() : inputWithOneChange()));
        benchmark::DoNotOptimize(messages.constData());
        flip = !flip;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * input().size());
}

// The cache's own share, on an already decoded snapshot.
void applyCold(benchmark::State &state)
{
    const LiveSnapshot snapshot = decode(state);
    for (auto _ : state) {
        LiveMessageCache cache;
        benchmark::DoNotOptimize(cache.apply(snapshot).constData());
    }
}

void applyWarm(benchmark::State &state)
{
    const LiveSnapshot first = decode(state);
    const LiveSnapshot second = decode(state, state.range(0) ? inputWithOneChange() : input());
    LiveMessageCache cache;
    cache.apply(first);
    bool flip = false;
    for (auto _ : state) {
        // Alternate between two decodings (of the same bytes, or with one record changed), as successive
        // refreshes do.
        benchmark::DoNotOptimize(cache.apply(flip ? first : second).constData());
        flip = !flip;
    }
}

} // namespace

BENCHMARK(floorParseAndWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeAndApplyCold)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeAndApplyWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeAndApplyWarmOneChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(applyCold)->Unit(benchmark::kMillisecond);
BENCHMARK(applyWarm)->ArgName("changed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
