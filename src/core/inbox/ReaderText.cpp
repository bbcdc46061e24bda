#include "ReaderText.h"

#include "content/MessageMarkdown.h"
#include <QCoreApplication>

namespace {

constexpr qsizetype previewLength = 4096;

// Whether the line starting at `start` opens a files or photos attachment fence.
bool opensFence(QStringView text, qsizetype start)
{
    const QStringView line = text.mid(start);
    return line.startsWith(u"```tandrel-files-v1") || line.startsWith(u"```tandrel-photos-v1");
}

} // namespace

ReaderText::Body ReaderText::body(const Message &message, bool tucked)
{
    if (tucked)
        return Body::preview;
    if (!message.scope.isPersonal() && message.kind == ConversationKind::direct)
        return Body::conversation;
    return Body::detail;
}

QString ReaderText::resizeSymbol(bool tucked)
{
    return tucked ? QStringLiteral("arrow.up.left.and.arrow.down.right")
                  : QStringLiteral("arrow.down.right.and.arrow.up.left");
}

QString ReaderText::resizeHelp(bool tucked)
{
    return tucked ? QCoreApplication::translate("ReaderText", "Expand message")
                  : QCoreApplication::translate("ReaderText", "Compact message");
}

QString ReaderText::agentNotice(bool released, Body body)
{
    if (released)
        return {};
    return body == Body::conversation
               ? QCoreApplication::translate("ReaderText", "Your agent can’t read this conversation")
               : QCoreApplication::translate("ReaderText", "Your agent can’t read this");
}

QString ReaderText::approvalNotice(bool released, Body body)
{
    if (released || body != Body::detail)
        return {};
    return QCoreApplication::translate(
        "ReaderText", "Waiting for owner approval. Review and access controls will open in Tandrel when connected.");
}

QString ReaderText::previewExcerpt(const QString &body)
{
    const QStringView head = QStringView(body).left(previewLength);
    // A fence line that starts inside the excerpt counts even when the cut falls within it.
    for (qsizetype start = 0; start < head.size();) {
        if (opensFence(body, start))
            return head.left(start).toString();
        const qsizetype newline = head.indexOf(u'\n', start);
        if (newline < 0)
            break;
        start = newline + 1;
    }
    return head.toString();
}

QString ReaderText::previewHtml(const QString &body, const QString &linkColour)
{
    return MessageMarkdown::inlineText(previewExcerpt(body)).toHtml(linkColour);
}

int ReaderText::previewFontSize(const Message &message)
{
    return !message.scope.isPersonal() && message.kind == ConversationKind::direct ? 12 : 13;
}
