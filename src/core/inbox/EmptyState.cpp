#include "EmptyState.h"

#include "Inbox.h"

EmptyState EmptyState::of(bool loading, bool connectionFailed, const QString &query, const QString &label,
                          InboxFilter filter)
{
    const bool focused = filter == InboxFilter::focused;
    EmptyState state;
    state.symbol = focused ? QStringLiteral("circle") : QStringLiteral("checkmark.circle");
    state.focusTint = focused;
    if (loading)
        state.title = QStringLiteral("Connecting to Tandrel…");
    else if (connectionFailed)
        state.title = QStringLiteral("Inbox unavailable");
    else if (!query.isEmpty() || label != Inbox::allLabels)
        state.title = QStringLiteral("No matching messages");
    else if (focused)
        state.title = QStringLiteral("No focused messages");
    else if (filter == InboxFilter::direct)
        state.title = QStringLiteral("No direct messages");
    else
        state.title = QStringLiteral("You're all caught up");
    state.subtitle = focused ? QStringLiteral("Choose messages to keep as context for your agent.")
                             : QStringLiteral("Try another view, label, or search.");
    return state;
}
