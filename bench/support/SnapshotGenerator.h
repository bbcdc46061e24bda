#pragma once

#include <QByteArray>

// Deterministic synthetic "snapshot" output for benchmarks: about 1.1 KB a message, bodies of 200 to
// 800 characters with escapes and non-ASCII text, 1% of messages with one 20 KB HTML file, personal
// reply chains and team threads of 1 to 20 messages, several scopes with label colours.
class SnapshotGenerator
{
public:
    struct Options
    {
        int messages = 1000;
        unsigned seed = 1;
        QByteArray accountId = "acct-1";
        QByteArray origin = "https://tandrel.example";
        int unreadPercent = 30;
        int focusedPercent = 2;
    };

    static QByteArray generate(const Options &options);
    // Leaves spare capacity after the bytes, as the command runner does, so the decoder need not copy.
    static QByteArray padded(QByteArray bytes);
};
