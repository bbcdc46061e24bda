#include "content/InlineParser.h"
#include "content/MessageContent.h"
#include "content/MessageContentCache.h"
#include "liveinbox/VisualizationFile.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

// ---------------------------------------------------------------------------------------------------
// Inline parsing of hostile input: time must grow linearly with the length.

struct Pattern
{
    const char *name;
    const char16_t *unit;
};

constexpr Pattern patterns[] = {
    {"star_a", u"*a"},               // unmatched emphasis openers
    {"open_bracket", u"["},          // unmatched link openers
    {"backtick", u"`"},              // one huge backtick run
    {"backtick_a", u"`a``a"},        // runs of two lengths, half never closed
    {"star_star_under", u"**_"},     // mixed delimiters that never match
    {"under_a_star", u"_a*"},        // alternating delimiter kinds
    {"link_tail", u"[a]("},          // link tails that never close
    {"pointy_tail", u"[a](<b"},      // pointy destinations that never close
    {"image_open", u"!["},           // image openers
    {"close_bracket", u"]("},        // closers without openers
    {"brackets_links", u"[[a](b)"},  // links deactivating many openers
    {"angle", u"<a"},                // autolink attempts
    {"entity", u"&#"},               // reference attempts
    {"title_quote", u"[a](b \"c"},   // titles that never close
    {"tilde", u"~~a"},               // strikethrough openers
    {"raw_tail", u"[a](b"},          // raw destinations that never close
    {"odd_match", u"c* a**b"},       // closers blocked by the multiple-of-3 rule
    {"paren_bracket", u"[ (]("},     // link tails inside link text
    {"bracket_under", u"[ a_"},      // link openers and emphasis closers
    {"star_under_space", u"*a_ "},   // mismatched openers and closers
};

QString repeated(const char16_t *unit, qsizetype length)
{
    const QString piece = QString::fromUtf16(unit);
    QString text;
    text.reserve(length + piece.size());
    while (text.size() < length)
        text += piece;
    text.truncate(length);
    return text;
}

// "*a *a ... b ... a* a*": emphasis nested length/6 deep.
QString nested(qsizetype length)
{
    const qsizetype depth = length / 6;
    QString text;
    for (qsizetype i = 0; i < depth; ++i)
        text += QStringLiteral("*a ");
    text += u'b';
    for (qsizetype i = 0; i < depth; ++i)
        text += QStringLiteral(" a*");
    return text;
}

// "[[[...a]]]...": brackets nested length/2 deep.
QString nestedBrackets(qsizetype length)
{
    return QString(length / 2, u'[') + u'a' + QString(length / 2, u']');
}

// "e`e``e```...": backtick runs of ever greater length, none closed.
QString growingBackticks(qsizetype length)
{
    QString text;
    for (qsizetype run = 1; text.size() < length; ++run)
        text += u'e' + QString(run, u'`');
    text.truncate(length);
    return text;
}

void BM_InlineHostile(benchmark::State &state, QString (*generate)(qsizetype), const char16_t *unit)
{
    const QString text = unit ? repeated(unit, state.range(0)) : generate(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(InlineParser::parse(text));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * text.size());
}

// ---------------------------------------------------------------------------------------------------
// Whole bodies.

// About `bytes` of varied, realistic Markdown: paragraphs with styling and links, lists, quotes, code.
QString realisticMarkdown(qsizetype bytes)
{
    std::mt19937 random(7);
    const QStringList words{QStringLiteral("deploy"), QStringLiteral("the"), QStringLiteral("build"),
                            QStringLiteral("failed"), QStringLiteral("on"), QStringLiteral("staging"),
                            QStringLiteral("after"), QStringLiteral("merge"), QStringLiteral("we"),
                            QStringLiteral("should"), QStringLiteral("retry"), QStringLiteral("café"),
                            QStringLiteral("tomorrow"), QStringLiteral("numbers"), QStringLiteral("look"),
                            QStringLiteral("good"), QStringLiteral("see"), QStringLiteral("dashboard")};
    auto word = [&] { return words[qsizetype(random() % std::size_t(words.size()))]; };
    auto sentence = [&] {
        QString s;
        const int count = 6 + int(random() % 12);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                s += u' ';
            switch (random() % 16) {
            case 0: s += QStringLiteral("**%1**").arg(word()); break;
            case 1: s += QStringLiteral("*%1*").arg(word()); break;
            case 2: s += QStringLiteral("`%1()`").arg(word()); break;
            case 3: s += QStringLiteral("[%1](https://example.com/%2?id=%3)").arg(word(), word()).arg(random() % 1000); break;
            case 4: s += QStringLiteral("~~%1~~").arg(word()); break;
            case 5: s += QStringLiteral("snake_case_%1").arg(word()); break;
            case 6: s += QStringLiteral("&amp;"); break;
            default: s += word();
            }
        }
        return s + u'.';
    };
    QString text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        switch (random() % 6) {
        case 0: text += QStringLiteral("## ") + sentence() + u'\n'; break;
        case 1:
            for (int i = 0; i < 3; ++i)
                text += QStringLiteral("- ") + sentence() + u'\n';
            break;
        case 2: text += QStringLiteral("> ") + sentence() + u'\n'; break;
        case 3:
            text += QStringLiteral("```js\nconst x = await fetch(url);\n\nconsole.log(x.status);\n```\n");
            break;
        default: text += sentence() + u'\n' + sentence() + u' ' + sentence() + u'\n';
        }
        text += u'\n';
    }
    return text;
}

void BM_ParseRealisticBody(benchmark::State &state)
{
    const QString body = realisticMarkdown(1 << 20);
    const qint64 bytes = body.toUtf8().size();
    for (auto _ : state)
        benchmark::DoNotOptimize(MessageContent(body));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["body_bytes"] = double(bytes);
}
BENCHMARK(BM_ParseRealisticBody)->Unit(benchmark::kMillisecond);

// The blocks, then the inline styling of every one of them (what a reader scrolled through the whole body
// has asked for).
void BM_ParseAndStyleRealisticBody(benchmark::State &state)
{
    const QString body = realisticMarkdown(1 << 20);
    const qint64 bytes = body.toUtf8().size();
    for (auto _ : state) {
        const MessageContent content(body);
        for (const MessageContent::Block &block : content.blocks())
            benchmark::DoNotOptimize(block.text());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["body_bytes"] = double(bytes);
}
BENCHMARK(BM_ParseAndStyleRealisticBody)->Unit(benchmark::kMillisecond);

void BM_ParseBodyWithAttachment(benchmark::State &state)
{
    QByteArray html;
    html.reserve(5 * 1024 * 1024);
    html += "<!doctype html><script>const data = [";
    while (html.size() < 5 * 1024 * 1024 - 16)
        html += "1.25,\xC3\xA9\"x\",";
    html.truncate(5 * 1024 * 1024 - 11);
    html += "]</script>";
    html.resize(5 * 1024 * 1024, ' ');
    const std::vector<VisualizationFile> files{{"chart.html", "text/html", html.toBase64().toStdString()}};
    const QString body = QStringLiteral("Here is the **weekly** chart.\n\n```tandrel-files-v1\n") +
                         QString::fromStdString(VisualizationFile::encodeArray(files)) + QStringLiteral("\n```");
    const qint64 bytes = body.toUtf8().size();
    if (MessageContent(body).attachments().size() != 1)
        state.SkipWithError("attachment not accepted");
    for (auto _ : state)
        benchmark::DoNotOptimize(MessageContent(body));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["body_bytes"] = double(bytes);
}
BENCHMARK(BM_ParseBodyWithAttachment)->Unit(benchmark::kMillisecond);

void BM_CacheHit(benchmark::State &state)
{
    MessageContentCache cache;
    QStringList bodies;
    for (int i = 0; i < 128; ++i)
        bodies.append(realisticMarkdown(2000) + QString::number(i));
    for (const QString &body : bodies)
        cache.content(body);
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cache.content(bodies[i]));
        i = (i + 1) % bodies.size();
    }
}
BENCHMARK(BM_CacheHit);

[[maybe_unused]] const bool registered = [] {
    for (const Pattern &pattern : patterns) {
        benchmark::RegisterBenchmark((std::string("BM_InlineHostile/") + pattern.name).c_str(), BM_InlineHostile,
                                     nullptr, pattern.unit)
            ->Arg(10'000)
            ->Arg(100'000)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMicrosecond);
    }
    const std::pair<const char *, QString (*)(qsizetype)> generated[] = {
        {"nested_emphasis", nested}, {"nested_brackets", nestedBrackets}, {"growing_backticks", growingBackticks}};
    for (const auto &[name, generate] : generated) {
        benchmark::RegisterBenchmark((std::string("BM_InlineHostile/") + name).c_str(), BM_InlineHostile, generate, nullptr)
            ->Arg(10'000)
            ->Arg(100'000)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
