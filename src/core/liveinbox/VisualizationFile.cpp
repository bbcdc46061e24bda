#include "VisualizationFile.h"

namespace {

void appendJsonString(std::string &out, const std::string &text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (const unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 15];
            } else {
                out += char(c);
            }
        }
    }
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
