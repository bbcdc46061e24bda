#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <string_view>

// A text kept as UTF-8, as the service sends it: half the memory of a QString for most texts, and no
// decoding until something reads it as a QString. Copies share the bytes.
class Utf8Text
{
public:
    Utf8Text() = default;
    Utf8Text(const QString &text) : m_bytes(text.toUtf8()) {}
    Utf8Text(const char *utf8) : m_bytes(utf8) {}
    // A copy of the bytes, which should be UTF-8 (what is not decodes to replacement characters).
    static Utf8Text fromUtf8(std::string_view utf8)
    {
        Utf8Text text;
        text.m_bytes = QByteArray(utf8.data(), qsizetype(utf8.size()));
        return text;
    }

    QString toString() const { return QString::fromUtf8(m_bytes); }
    operator QString() const { return toString(); }

    bool isEmpty() const { return m_bytes.isEmpty(); }
    std::string_view view() const { return {m_bytes.constData(), std::size_t(m_bytes.size())}; }
    const QByteArray &utf8() const { return m_bytes; }
    // Where the bytes are: copies of one text share them.
    const char *constData() const { return m_bytes.constData(); }
    bool startsWith(QStringView prefix) const { return toString().startsWith(prefix); }

    // Whether `utf8` decodes to `text`, without decoding it into a QString.
    static bool same(QStringView text, std::string_view utf8);
    // QString::fromUtf8 drops a byte order mark that opens the text; readers of the bytes skip it too.
    static void skipByteOrderMark(const unsigned char *&p, const unsigned char *end);
    // Decodes the code point at `p`, advancing it past it; false (and `p` unchanged) for an ill-formed
    // sequence: an overlong form, a surrogate, a value above U+10FFFF, a truncated or stray byte.
    static bool decode(const unsigned char *&p, const unsigned char *end, char32_t &out)
    {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            out = lead;
            ++p;
            return true;
        }
        return decodeSequence(p, end, out);
    }

    friend bool operator==(const Utf8Text &a, const Utf8Text &b) { return a.m_bytes == b.m_bytes; }
    friend bool operator==(const Utf8Text &a, QStringView b) { return same(b, a.view()); }
    friend bool operator==(const Utf8Text &a, const QString &b) { return a == QStringView(b); }
    friend bool operator==(const Utf8Text &a, const char *b) { return a.m_bytes == b; }

private:
    static bool decodeSequence(const unsigned char *&p, const unsigned char *end, char32_t &out);

    QByteArray m_bytes;
};
