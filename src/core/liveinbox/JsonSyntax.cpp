#include "JsonSyntax.h"

namespace {

class Scanner
{
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    JsonSyntax::Error run()
    {
        skipSpace();
        if (!value(0))
            return m_error;
        skipSpace();
        if (m_pos != m_text.size()) {
            fail("unexpected content after the document");
            return m_error;
        }
        return {};
    }

private:
    static constexpr int maximumDepth = 1024;

    bool atEnd() const { return m_pos >= m_text.size(); }
    unsigned char peek() const { return static_cast<unsigned char>(m_text[m_pos]); }

    bool fail(const char *reason)
    {
        m_error = {m_pos, reason};
        return false;
    }

    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_pos;
    }

    bool value(int depth)
    {
        if (atEnd())
            return fail("unexpected end of input");
        if (depth > maximumDepth)
            return fail("nesting too deep");
        switch (peek()) {
        case '{': return object(depth);
        case '[': return array(depth);
        case '"': return string();
        case 't': return literal("true");
        case 'f': return literal("false");
        case 'n': return literal("null");
        default:
            if (peek() == '-' || (peek() >= '0' && peek() <= '9'))
                return number();
            return fail("unexpected character");
        }
    }

    bool literal(std::string_view word)
    {
        if (m_text.substr(m_pos, word.size()) != word)
            return fail("unexpected character");
        m_pos += word.size();
        return true;
    }

    bool digits()
    {
        if (atEnd() || peek() < '0' || peek() > '9')
            return fail(atEnd() ? "unexpected end of input" : "invalid number");
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++m_pos;
        return true;
    }

    bool number()
    {
        if (peek() == '-')
            ++m_pos;
        if (!atEnd() && peek() == '0') {
            ++m_pos;
            if (!atEnd() && peek() >= '0' && peek() <= '9')
                return fail("invalid number");
        } else if (!digits()) {
            return false;
        }
        if (!atEnd() && peek() == '.') {
            ++m_pos;
            if (!digits())
                return false;
        }
        if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
            ++m_pos;
            if (!atEnd() && (peek() == '+' || peek() == '-'))
                ++m_pos;
            if (!digits())
                return false;
        }
        return true;
    }

    static int hexValue(unsigned char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool hexQuad(unsigned &out)
    {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (atEnd())
                return fail("unexpected end of input");
            const int v = hexValue(peek());
            if (v < 0)
                return fail("invalid escape");
            out = out * 16 + unsigned(v);
            ++m_pos;
        }
        return true;
    }

    bool escape()
    {
        const std::size_t start = m_pos;
        ++m_pos; // backslash
        if (atEnd())
            return fail("unexpected end of input");
        const unsigned char c = peek();
        ++m_pos;
        switch (c) {
        case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't':
            return true;
        case 'u': {
            unsigned code = 0;
            if (!hexQuad(code))
                return false;
            if (code >= 0xDC00 && code <= 0xDFFF) {
                m_pos = start;
                return fail("unpaired surrogate escape");
            }
            if (code >= 0xD800 && code <= 0xDBFF) {
                if (m_text.substr(m_pos, 2) != "\\u") {
                    m_pos = start;
                    return fail("unpaired surrogate escape");
                }
                m_pos += 2;
                unsigned low = 0;
                if (!hexQuad(low))
                    return false;
                if (low < 0xDC00 || low > 0xDFFF) {
                    m_pos = start;
                    return fail("unpaired surrogate escape");
                }
            }
            return true;
        }
        default:
            m_pos = start;
            return fail("invalid escape");
        }
    }

    // One UTF-8 sequence starting at m_pos (first byte >= 0x80).
    bool utf8()
    {
        const unsigned char c = peek();
        int length = 0;
        unsigned minimum = 0;
        unsigned code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2; minimum = 0x80; code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3; minimum = 0x800; code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4; minimum = 0x10000; code = c & 0x07;
        } else {
            return fail("invalid UTF-8");
        }
        if (m_pos + std::size_t(length) > m_text.size())
            return fail("invalid UTF-8");
        for (int i = 1; i < length; ++i) {
            const unsigned char next = static_cast<unsigned char>(m_text[m_pos + std::size_t(i)]);
            if ((next & 0xC0) != 0x80)
                return fail("invalid UTF-8");
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return fail("invalid UTF-8");
        m_pos += std::size_t(length);
        return true;
    }

    bool string()
    {
        ++m_pos; // opening quote
        while (true) {
            if (atEnd())
                return fail("unterminated string");
            const unsigned char c = peek();
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (c == '\\') {
                if (!escape())
                    return false;
            } else if (c < 0x20) {
                return fail("control character in string");
            } else if (c >= 0x80) {
                if (!utf8())
                    return false;
            } else {
                ++m_pos;
            }
        }
    }

    bool object(int depth)
    {
        ++m_pos;
        skipSpace();
        if (!atEnd() && peek() == '}') {
            ++m_pos;
            return true;
        }
        while (true) {
            skipSpace();
            if (atEnd())
                return fail("unexpected end of input");
            if (peek() != '"')
                return fail("expected a key");
            if (!string())
                return false;
            skipSpace();
            if (atEnd())
                return fail("unexpected end of input");
            if (peek() != ':')
                return fail("expected ':'");
            ++m_pos;
            skipSpace();
            if (!value(depth + 1))
                return false;
            skipSpace();
            if (atEnd())
                return fail("unexpected end of input");
            if (peek() == '}') {
                ++m_pos;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or '}'");
            ++m_pos;
        }
    }

    bool array(int depth)
    {
        ++m_pos;
        skipSpace();
        if (!atEnd() && peek() == ']') {
            ++m_pos;
            return true;
        }
        while (true) {
            skipSpace();
            if (!value(depth + 1))
                return false;
            skipSpace();
            if (atEnd())
                return fail("unexpected end of input");
            if (peek() == ']') {
                ++m_pos;
                return true;
            }
            if (peek() != ',')
                return fail("expected ',' or ']'");
            ++m_pos;
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    JsonSyntax::Error m_error;
};

} // namespace

JsonSyntax::Error JsonSyntax::firstError(std::string_view text)
{
    return Scanner(text).run();
}
