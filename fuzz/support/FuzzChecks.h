#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Checks shared by the fuzz targets.

// Reports the failed check's line before crashing, so a finding names the broken promise.
inline void expect(bool condition, int line)
{
    if (condition)
        return;
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define require(condition) expect((condition), __LINE__)

// A plain reference reading of UTF-8 (shortest forms, no surrogates, nothing past U+10FFFF), written apart
// from the decoders under test so that they can be checked against it.
inline bool validUtf8(std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const unsigned c = *p;
        const int length = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
        if (length == 0 || end - p < length)
            return false;
        std::uint32_t code = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

