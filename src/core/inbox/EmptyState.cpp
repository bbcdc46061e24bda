#include "EmptyState.h"

#include "Inbox.h"
#include <QCoreApplication>

EmptyState EmptyState::of(bool loading, bool connectionFailed, const QString &query, const QString &label,
                          InboxFilter filter)
{
    const bool focused = filter == InboxFilter::focused;
    EmptyState state;
    state.symbol = focused ? QStringLiteral("circle") : QStringLiteral("checkmark.circle");
    state.focusTint = focused;
    if (loading)
        state.title = QCoreApplication::translate("EmptyState", "Connecting to Tandrel…");
    else if (connectionFailed)
        state.title = QCoreApplication::translate("EmptyState", "Inbox unavailable");
    else if (!query.isEmpty() || label != Inbox::allLabels)
        state.title = QCoreApplication::translate("EmptyState", "No matching messages");
    else if (focused)
        state.title = QCoreApplication::translate("EmptyState", "No focused messages");
    else if (filter == InboxFilter::direct)
        state.title = QCoreApplication::translate("EmptyState", "No direct messages");
    else
        state.title = QCoreApplication::translate("EmptyState", "You're all caught up");
    state.subtitle = focused ? QCoreApplication::translate("EmptyState", "Choose messages to keep as context for your agent.")
                             : QCoreApplication::translate("EmptyState", "Try another view, label, or search.");
    return state;
}
