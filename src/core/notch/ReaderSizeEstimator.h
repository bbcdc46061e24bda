#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

class TextMeasurer;

// Estimates the size of the reader card for the selected message from the length of its text.
// The result is the reader's content size (the surface adds its padding around it).
class ReaderSizeEstimator
{
public:
    // At most this many characters (user-perceived characters, not UTF-16 units) are measured.
    static constexpr qsizetype maximumMeasuredCharacters = 4096;

    static constexpr double attachmentWidth = 620;
    static constexpr double attachmentHeight = 660;
    static constexpr double minimumWidth = 440;
    static constexpr double maximumWidth = 580;
    static constexpr double minimumHeight = 380;
    static constexpr double maximumHeight = 520;
    // Horizontal room beside the text: the widest line plus this is the card width, and the text
    // wraps at the card width minus this.
    static constexpr double textInset = 24;
    // Room taken by everything but the subject and the body (header, controls, composer).
    static constexpr double liveChrome = 210;
    static constexpr double demoChrome = 140;

    // What is measured of the selected message.
    struct Input
    {
        QString subject;
        QString body;
        // Bodies of the other members of its thread, in thread order (the message itself excluded).
        QStringList memberBodies;
        // Bodies of its embedded demo replies, in order.
        QStringList replyBodies;
        // The body, parsed through the content cache, has at least one attached file.
        bool hasAttachment = false;
        // A live inbox (true) or the demo inbox (false).
        bool live = false;
    };

    // The estimate for a selected message (with no selection the reader is not shown and the card
    // keeps its list size, 400 x 352). Uncached: the inbox caches the result per selection.
    static QSizeF measureReaderSize(const Input &input, const TextMeasurer &measurer);

    // The text that is measured: the body, the members' bodies and the replies' bodies, each cut
    // before any files or photos attachment fence, joined with line feeds, at most 4096 characters.
    static QString joinedText(const Input &input);
};
