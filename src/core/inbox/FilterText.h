#pragma once

#include "InboxFilter.h"

#include "records/ConversationKind.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// The texts of the list's filter controls: the chips, the filter menu's entries and the summary of the
// filters in force.
class FilterText
{
public:
    static QString allChip() { return QCoreApplication::translate("FilterText", "Inbox"); }
    // "DMs", or "DMs 3" while direct messages are unread.
    static QString directChip(int directUnread);
    // "Focused 2" (also "Focused 0").
    static QString focusedChip(int focusedInScope);

    static QString allEntry() { return QCoreApplication::translate("FilterText", "All messages"); }
    static QString unreadEntry(int unread);
    // What the review filter is called: "Spam" in the personal inbox, "Needs review" in a team inbox.
    static QString reviewWord(bool personalScope);
    static QString reviewEntry(bool personalScope, int reviewCount);
    // A conversation kind as the menu and the summary name it (its raw value stays the filter's key).
    static QString kindTitle(ConversationKind kind);

    // "Unread", the review word and the conversation kind, those that apply, joined by " · "; empty when
    // none does (the direct and focused filters and the label are not summarised).
    static QString activeFilterSummary(InboxFilter filter, std::optional<ConversationKind> kind, bool personalScope);
};
