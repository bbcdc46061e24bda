#include "JsonFloor.h"

#include <simdjson.h>

namespace {

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

} // namespace

void JsonFloor::run(benchmark::State &state, const QByteArray &bytes)
{
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), std::size_t(bytes.size()), false).get(root))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(walk(root));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
