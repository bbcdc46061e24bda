#include "inbox/QueryMatcher.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Letters whose case folding is not plain ASCII: the Kelvin sign and the long s fold to ASCII letters,
// sharp s has no one-letter upper case in the simple folding, final sigma folds to sigma, the Turkic i
// forms, a combining accent, letters outside the basic plane (Deseret, which folds, and an emoji), and the
// byte order mark, which decoding drops where it opens a text.
const char32_t alphabet[] = {U'a', U'A', U's', U'S', U'k', U'K', U'i', U'I', U' ', 0x212A, 0x017F, 0x00DF,
                             0x1E9E, 0x03C3, 0x03C2, 0x03A3, 0x0130, 0x0131, 0x00E9, 0x00C9, U'e', 0x0301,
                             0x65E5, 0x10400, 0x10428, 0x1F600, 0xFEFF};

// Sequences that are not UTF-8: a stray continuation byte, an invalid lead, an overlong slash, an
// encoded surrogate, a truncated character.
const char *const illFormed[] = {"\x80", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE6\x97", "\xF4\x90\x80\x80",
                                 "\xE0\x80\xAF", "\xF0\x80\x80\xAF"};

std::string utf8(char32_t c)
{
    return QString::fromUcs4(&c, 1).toStdString();
}

} // namespace

// Random texts and queries, among them ill-formed bytes and queries with a lone surrogate: the UTF-8
// reading gives what the decoded text gives, under the default folding and under Turkish lowering.
TEST(QueryMatcher, Utf8TextMatchesExactlyAsItsDecodedText)
{
    std::mt19937 random(11);
    auto pick = [&](std::size_t n) { return std::size_t(random() % n); };
    const QLocale saved;
    int found = 0;
    for (const QLocale &locale : {QLocale(QLocale::English), QLocale(QLocale::Turkish)}) {
        QLocale::setDefault(locale);
        for (int round = 0; round < 4000; ++round) {
            std::string text;
            const std::size_t length = pick(14);
            for (std::size_t i = 0; i < length; ++i)
                text += pick(25) == 0 ? illFormed[pick(std::size(illFormed))] : utf8(alphabet[pick(std::size(alphabet))]);

            // Half the queries are taken from the text with their letters' case changed, so that many match.
            QString query;
            const QString decoded = QString::fromStdString(text);
            if (pick(2) && !decoded.isEmpty()) {
                const qsizetype from = qsizetype(pick(std::size_t(decoded.size())));
                query = decoded.mid(from, qsizetype(1 + pick(4)));
                query = pick(2) ? query.toUpper() : query.toLower();
            } else {
                for (std::size_t i = 0, n = 1 + pick(3); i < n; ++i)
                    query += QString::fromStdString(utf8(alphabet[pick(std::size(alphabet))]));
            }
            if (pick(20) == 0)
                query.insert(qsizetype(pick(std::size_t(query.size()) + 1)), QChar(char16_t(0xD801)));
            if (query.isEmpty())
                continue;

            const QueryMatcher matcher(query);
            const bool expected = matcher.matches(QString::fromUtf8(text.data(), qsizetype(text.size())));
            EXPECT_EQ(matcher.matches(Utf8Text::fromUtf8(text)), expected)
                << "text " << QByteArray::fromStdString(text).toHex().constData() << " query "
                << query.toUtf8().toHex().constData();
            found += expected;
        }
    }
    QLocale::setDefault(saved);
    EXPECT_GT(found, 2000); // the comparison covers matches as well as misses
}
