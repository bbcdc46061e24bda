#pragma once

#include <QByteArray>

#include <benchmark/benchmark.h>

// The floor every decoding figure is compared with: simdjson's DOM parse of the bytes plus a plain walk
// that touches every key, string, number and boolean once.
class JsonFloor
{
public:
    // One timed loop of parse-and-walk over the bytes.
    static void run(benchmark::State &state, const QByteArray &bytes);
};
