#pragma once

#include <QHash>
#include <QString>

#include <array>

// The colour of a message label: a colour the inbox configured for it (a number sign and six hex digits),
// else one of ten fixed colours picked by a hash of the label's key. Colours are "#rrggbb" texts.
class LabelColor
{
public:
    static constexpr std::array<unsigned, 10> palette{0xD2C3F5, 0xF7BAD4, 0x9FE5DF, 0xB6C6F4, 0xF6ADAF,
                                                      0x79ADDC, 0xF6ADAF, 0x79ADDC, 0xFFC09F, 0xADF7B6};

    // The four standard labels have fixed keys; any other label is lower-cased with spaces made hyphens.
    static QString key(const QString &label);
    // FNV-1a (32 bits) over the key's UTF-16 code units, modulo the palette's size.
    static int paletteIndex(const QString &key);
    // The configured value when it is exactly "#" and six hex digits.
    static bool isHexColor(const QString &value);
    // `configured` holds the inbox's label colours (label → value); null when it has none.
    static QString of(const QString &label, const QHash<QString, QString> *configured);
};
