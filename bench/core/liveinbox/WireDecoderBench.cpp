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
    const QByteArray &bytes = input(int(state.range(0)));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()), false).get(root))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(walk(root));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
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
