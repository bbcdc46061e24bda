#include "JsonFloor.h"
#include "SnapshotGenerator.h"
#include "liveinbox/WireDecoder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

const QByteArray &input(int messages)
{
    static QByteArray small = SnapshotGenerator::generate({.messages = 1000});
    static QByteArray large = SnapshotGenerator::generate({.messages = 10000});
    return messages == 1000 ? small : large;
}

std::size_t walk(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Object: {
        std::size_t total = 0;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            total += std::size_t(it.key().size()) + walk(it.value());
        return total;
    }
    case QJsonValue::Array: {
        std::size_t total = 0;
        for (const QJsonValue &item : value.toArray())
            total += walk(item);
        return total;
    }
    case QJsonValue::String: return std::size_t(value.toString().size());
    case QJsonValue::Double: return std::size_t(value.toDouble());
    case QJsonValue::Bool: return value.toBool() ? 1 : 0;
    default: return 0;
    }
}

void decodeSnapshot(benchmark::State &state)
{
    const QByteArray &bytes = input(int(state.range(0)));
    for (auto _ : state) {
        auto result = WireDecoder::snapshot(bytes);
        if (!result.ok())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

// The floor: simdjson's parse plus a plain walk of every field.
void simdjsonParseAndWalk(benchmark::State &state)
{
    JsonFloor::run(state, input(int(state.range(0))));
}

void qtJsonParseAndWalk(benchmark::State &state)
{
    const QByteArray &bytes = input(int(state.range(0)));
    for (auto _ : state) {
        const QJsonDocument document = QJsonDocument::fromJson(bytes);
        benchmark::DoNotOptimize(walk(QJsonValue(document.object())));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(simdjsonParseAndWalk)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeSnapshot)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(qtJsonParseAndWalk)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
