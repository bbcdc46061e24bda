#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUtf8StringView>

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

    friend bool operator==(const Utf8Text &a, const Utf8Text &b) { return a.m_bytes == b.m_bytes; }
    friend bool operator==(const Utf8Text &a, QStringView b)
    {
        return QtPrivate::equalStrings(b, QUtf8StringView(a.m_bytes.constData(), a.m_bytes.size()));
    }
    friend bool operator==(const Utf8Text &a, const QString &b) { return a == QStringView(b); }
    friend bool operator==(const Utf8Text &a, const char *b) { return a.m_bytes == b; }

private:
    QByteArray m_bytes;
};
