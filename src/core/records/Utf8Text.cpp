#include "Utf8Text.h"

bool Utf8Text::decodeSequence(const unsigned char *&p, const unsigned char *end, char32_t &out)
{
    const unsigned char lead = *p;
    if (lead < 0xC2 || lead > 0xF4)
        return false;
    const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (end - p < length)
        return false;
    // The second byte's range, narrower after the leads that would otherwise begin an overlong form, a
    // surrogate or a value above U+10FFFF (Unicode's table of well-formed sequences).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    switch (lead) {
    case 0xE0: low = 0xA0; break;
    case 0xED: high = 0x9F; break;
    case 0xF0: low = 0x90; break;
    case 0xF4: high = 0x8F; break;
    default: break;
    }
    char32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char c = p[i];
        if (c < low || c > high)
            return false;
        value = (value << 6) | (c & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    p += length;
    out = value;
    return true;
}

void Utf8Text::skipByteOrderMark(const unsigned char *&p, const unsigned char *end)
{
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
}

bool Utf8Text::same(QStringView text, std::string_view utf8)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    skipByteOrderMark(p, end);
    const char16_t *units = text.utf16();
    const qsizetype count = text.size();
    qsizetype at = 0;
    while (p < end) {
        char32_t c = 0;
        if (!decode(p, end, c)) {
            // What QString makes of ill-formed bytes is its own rule.
            return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())) == text;
        }
        if (c < 0x10000) {
            if (at >= count || units[at] != c)
                return false;
            ++at;
        } else {
            if (at + 1 >= count || units[at] != QChar::highSurrogate(c) || units[at + 1] != QChar::lowSurrogate(c))
                return false;
            at += 2;
        }
    }
    return at == count;
}
