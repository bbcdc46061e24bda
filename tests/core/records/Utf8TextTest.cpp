#include "records/Utf8Text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

// Random byte strings, well-formed or not, against texts that are their decoding or nearly so: the UTF-8
// comparison agrees with comparing the decoded QString.
TEST(Utf8Text, ComparesWithAQStringAsItsDecodingWould)
{
    const char *const pieces[] = {"a", "Z", " ", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD",
                                  "\xEF\xBB\xBF", "\x80", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE6\x97", "\xF4\x90\x80\x80",
                                  "\xE0\x80\xAF", "\xF0\x80\x80\xAF"};
    std::mt19937 random(5);
    auto pick = [&](std::size_t n) { return std::size_t(random() % n); };
    int equal = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (std::size_t i = 0, n = pick(8); i < n; ++i)
            bytes += pieces[pick(round % 2 ? std::size(pieces) : 8)];
        QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        switch (pick(4)) {
        case 0: break;
        case 1: text.chop(qsizetype(pick(2))); break;
        case 2:
            if (!text.isEmpty())
                text[qsizetype(pick(std::size_t(text.size())))] = QChar(char16_t(0xD83D));
            break;
        case 3: text.append(QChar(char16_t(0x00E9))); break;
        }
        const bool expected = QString::fromUtf8(bytes.data(), qsizetype(bytes.size())) == text;
        EXPECT_EQ(Utf8Text::same(text, bytes), expected) << QByteArray::fromStdString(bytes).toHex().constData();
        EXPECT_EQ(Utf8Text::fromUtf8(bytes) == text, expected);
        equal += expected;
    }
    EXPECT_GT(equal, 5000);
}
