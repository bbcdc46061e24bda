#pragma once

#include "inbox/Inbox.h"

// Reaches into the inbox for state that only a running service or later steps produce.
class InboxTestAccess
{
public:
    static void setPendingReplies(Inbox &inbox, QList<PendingReply> replies)
    {
        inbox.m_replies.m_pending = std::move(replies);
    }
    static void setReplyDrafts(Inbox &inbox, QHash<QString, QString> drafts)
    {
        inbox.m_replies.m_drafts = std::move(drafts);
    }
};
