#include "SnapshotGenerator.h"

#include <cstdint>
#include <string>

namespace {

class Random
{
public:
    explicit Random(unsigned seed) : m_state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    std::uint32_t next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(m_state >> 33);
    }
    int between(int low, int high) { return low + int(next() % std::uint32_t(high - low + 1)); }

private:
    std::uint64_t m_state;
};

const char *const words[] = {"launch", "review", "the", "inbox", "context", "agent", "draft", "shared", "team",
                             "notes", "café", "naïve", "Zürich", "résumé", "日本語", "straße", "ready", "quiet",
                             "first", "screen", "message", "update", "focus", "label", "thread", "reply"};
const char *const senders[] = {"Nora Patel", "Owen Brandt", "Lena Fischer", "Iris Moreau", "Devon Hale",
                               "Åsa Lindqvist", "José Álvarez", "Mei Chen"};
const char *const categories[] = {"needs-response", "updates-context", "feedback-ideas",
                                  "introductions-opportunities", "launch-plan", "design"};

void appendBody(std::string &out, Random &random)
{
    const int target = random.between(200, 800);
    int written = 0;
    while (written < target) {
        const std::string word = words[random.next() % (sizeof words / sizeof *words)];
        out += word;
        written += int(word.size());
        const std::uint32_t r = random.next() % 23;
        if (r == 0) {
            out += "\\n\\n";
            written += 2;
        } else if (r == 1) {
            out += " \\\"quoted\\\" ";
            written += 10;
        } else if (r == 2) {
            out += " **bold** \\u00e9 ";
            written += 12;
        } else {
            out += ' ';
            ++written;
        }
    }
}

std::string base64(const std::string &bytes)
{
    static constexpr char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i + 2];
        out += table[v >> 18];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += table[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size())
            v |= (unsigned char)bytes[i + 1] << 8;
        out += table[v >> 18];
        out += table[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? table[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string htmlFile()
{
    std::string html = "<!doctype html><html><head><style>body{background:#111;color:#eee}</style></head><body>";
    while (html.size() < 20 * 1024 - 20)
        html += "<div class=\"row\">Team pulse · context reused</div>\n";
    html += "</body></html>";
    return base64(html);
}

} // namespace

QByteArray SnapshotGenerator::generate(const Options &options)
{
    Random random(options.seed);
    static const std::string attachment = htmlFile();
    const char *const scopes[] = {"personal", "team-launch", "team-design", "team-research", "team-ops"};
    const int scopeCount = 5;

    std::string out;
    out.reserve(std::size_t(options.messages) * 1200 + 4096);
    out += "{\"version\":7,\"account\":{\"id\":\"" + options.accountId.toStdString() +
           "\",\"provider\":\"google\",\"origin\":\"" + options.origin.toStdString() + "\"},\"scopes\":[";
    for (int s = 0; s < scopeCount; ++s) {
        if (s)
            out += ',';
        out += "{\"id\":\"" + std::string(scopes[s]) + "\",\"name\":\"Scope " + std::to_string(s) +
               "\",\"colors\":{\"needs-response\":\"#ff6b6b\",\"launch-plan\":\"#6bc1ff\",\"design\":\"#9b6bff\"}}";
    }
    out += "],\"messages\":[";

    int index = 0;
    int focusIndex = 0;
    while (index < options.messages) {
        // One conversation: a personal reply chain or a team thread of 1 to 20 messages.
        const int length = std::min(random.between(1, 20), options.messages - index);
        const int scope = int(random.next() % scopeCount);
        const bool personal = scope == 0;
        const std::string conversation = "conv-" + std::to_string(index);
        const char *kind = personal ? "inbox" : (random.next() % 3 == 0 ? "inbox" : (random.next() % 2 ? "thread" : "direct"));
        for (int k = 0; k < length; ++k, ++index) {
            if (index)
                out += ',';
            const std::string id = "rec-" + std::to_string(index);
            const bool mine = random.next() % 10 == 0;
            const char *sender = senders[random.next() % (sizeof senders / sizeof *senders)];
            out += "{\"id\":\"" + id + "\",\"messageId\":\"msg-" + std::to_string(index) + "\",\"scopeId\":\"" +
                   scopes[scope] + "\",\"conversationId\":\"" + conversation + "\",\"senderId\":\"" +
                   (mine ? options.accountId.toStdString() : std::to_string(100000 + random.next() % 900000)) +
                   "\",\"sender\":\"" + sender + "\",\"subject\":\"Subject " + std::to_string(index) + " café\",\"body\":\"";
            appendBody(out, random);
            out += "\"";
            if (random.next() % 100 == 0)
                out += ",\"files\":[{\"name\":\"pulse.html\",\"type\":\"text/html\",\"data\":\"" + attachment + "\"}]";
            out += ",\"categories\":[\"" + std::string(categories[random.next() % 6]) + "\"],\"kind\":\"" + kind +
                   "\",\"createdAt\":" + std::to_string(1700000000 + index * 37) + ".25,\"unread\":" +
                   (int(random.next() % 100) < options.unreadPercent ? "true" : "false") + ",\"focused\":";
            const bool focused = int(random.next() % 100) < options.focusedPercent;
            out += focused ? "true" : "false";
            out += ",\"focusIndex\":" + std::to_string(focused ? focusIndex++ : 0);
            if (k > 0)
                out += ",\"replyTo\":\"msg-" + std::to_string(index - 1 - int(random.next() % std::uint32_t(k))) + "\"";
            out += ",\"conversationTitle\":\"Conversation " + std::to_string(index - k) + "\"}";
        }
    }
    out += "],\"fetchedAt\":1700000999.5}";
    return padded(QByteArray(out.data(), qsizetype(out.size())));
}

QByteArray SnapshotGenerator::padded(QByteArray bytes)
{
    bytes.reserve(bytes.size() + 256);
    return bytes;
}
