#pragma once

#include "records/Message.h"

#include <QString>

// The reader's rules that need no window: which body shows, the resize button's face, the notices for
// messages the user's agent may not read, the short form's excerpt and when a draft can be sent.
class ReaderText
{
public:
    // What the reader's body shows.
    enum class Body { preview, conversation, detail };
    // The short form while tucked; the chat view for a team's direct conversation; else the threaded reader.
    static Body body(const Message &message, bool tucked);

    static QString resizeSymbol(bool tucked);
    static QString resizeHelp(bool tucked);

    // The notice above an unreleased message ("lock.shield", orange), empty when released.
    static QString agentNotice(bool released, Body body);
    // The owner-approval box of the threaded reader, empty when released or in another view.
    static QString approvalNotice(bool released, Body body);

    // The short form's text: the body's first 4096 characters, cut before the earliest line that opens a
    // files or photos attachment fence, as styled rich text with only the kept links.
    static QString previewExcerpt(const QString &body);
    static QString previewHtml(const QString &body, const QString &linkColour);
    // 12 for a team's direct conversation, else 13.
    static int previewFontSize(const Message &message);

    // A draft is sent only when it holds more than white space.
    static bool canSend(const QString &draft) { return !draft.trimmed().isEmpty(); }

    // Chat bubbles of the user's own demo replies sit on the right.
    static bool outgoing(const QString &sender) { return sender == QLatin1String("You"); }
};
