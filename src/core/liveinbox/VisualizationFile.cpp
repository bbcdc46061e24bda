#include "VisualizationFile.h"

#include <cstdint>
#include <cstring>

namespace {

// Index of the first byte at or after `from` that a JSON string must escape (a quote, a backslash or
// a control character), or the size of the text. Scans eight bytes at a time: attachments are large
// Base64 texts with nothing to escape.
std::size_t nextEscape(const std::string &text, std::size_t from)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    std::size_t i = from;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        const std::uint64_t quote = word ^ (ones * '"');
        const std::uint64_t backslash = word ^ (ones * '\\');
        // A byte is flagged when it is zero (after the xor) or below 0x20.
        const std::uint64_t flagged = ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) |
                                      ((word - ones * 0x20) & ~word);
        if (flagged & highs)
            break;
    }
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == '"' || c == '\\')
            return i;
    }
    return i;
}

void appendJsonString(std::string &out, const std::string &text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    // Plain bytes are copied in runs; only quotes, backslashes and control characters are escaped.
    std::size_t plain = 0;
    for (std::size_t i = nextEscape(text, 0); i < text.size(); i = nextEscape(text, i + 1)) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        out.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out.append(text, plain, std::string::npos);
    out += '"';
}

} // namespace

std::string VisualizationFile::encodeArray(const std::vector<VisualizationFile> &files)
{
    std::size_t size = 2;
    for (const auto &file : files)
        size += file.name.size() + file.type.size() + file.data.size() + 40;
    std::string out;
    out.reserve(size);
    out += '[';
    bool first = true;
    for (const auto &file : files) {
        if (!first)
            out += ',';
        first = false;
        out += "{\"name\":";
        appendJsonString(out, file.name);
        out += ",\"type\":";
        appendJsonString(out, file.type);
        out += ",\"data\":";
        appendJsonString(out, file.data);
        out += '}';
    }
    out += ']';
    return out;
}
