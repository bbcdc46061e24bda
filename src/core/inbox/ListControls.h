#pragma once

#include "EmptyState.h"
#include "NextTurn.h"

#include <QObject>
#include <QString>
#include <QVariantList>

class Inbox;

// The controls above and around the message list, as the views show them: chip titles, the summary of the
// filters in force, the empty state, the current label's colour, and the entries of the inbox, scope,
// filter and label menus. Values follow the inbox, recomputed once per event-loop turn after a change and
// notified only when one of them changed. Choosing a menu entry or a chip goes back through here into the
// inbox's operations.
class ListControls final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool showsDirectChip READ showsDirectChip NOTIFY changed)
    Q_PROPERTY(QString allChipTitle READ allChipTitle CONSTANT)
    Q_PROPERTY(QString directChipTitle READ directChipTitle NOTIFY changed)
    Q_PROPERTY(QString focusedChipTitle READ focusedChipTitle NOTIFY changed)
    Q_PROPERTY(QString activeFilterSummary READ activeFilterSummary NOTIFY changed)
    Q_PROPERTY(QString labelFaceColor READ labelFaceColor NOTIFY changed)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY changed)
    Q_PROPERTY(bool emptyFocusTint READ emptyFocusTint NOTIFY changed)
    Q_PROPERTY(QString emptyTitle READ emptyTitle NOTIFY changed)
    Q_PROPERTY(QString emptySubtitle READ emptySubtitle NOTIFY changed)

public:
    // The list filters, for the views (the inbox's `filter` holds these values).
    enum Filter { All, Direct, Unread, Focused, Review };
    Q_ENUM(Filter)

    // Filter menu values (the entries' `value`); a kind entry's value is this prefix and the kind's raw value.
    static inline const QString kindPrefix = QStringLiteral("kind:");

    explicit ListControls(Inbox &inbox);

    bool showsDirectChip() const { return m_state.showsDirectChip; }
    QString allChipTitle() const;
    QString directChipTitle() const { return m_state.directChip; }
    QString focusedChipTitle() const { return m_state.focusedChip; }
    QString activeFilterSummary() const { return m_state.summary; }
    QString labelFaceColor() const { return m_state.labelFaceColor; }
    QString emptySymbol() const { return m_state.empty.symbol; }
    bool emptyFocusTint() const { return m_state.empty.focusTint; }
    QString emptyTitle() const { return m_state.empty.title; }
    QString emptySubtitle() const { return m_state.empty.subtitle; }

    // Menu entries: maps with "text" and "value", and optionally "checked" (shows a check mark),
    // "swatch" (a colour), "separator" (a divider) and "entries" (a submenu).
    Q_INVOKABLE QVariantList inboxMenu() const;
    Q_INVOKABLE QVariantList scopeMenu() const;
    Q_INVOKABLE QVariantList filterMenu() const;
    Q_INVOKABLE QVariantList labelFilterMenu() const;
    Q_INVOKABLE QVariantList teamLabelMenu(const QString &category) const;
    // The colour of a label in the inbox on show.
    Q_INVOKABLE QString labelColor(const QString &label) const;
    // What a screen reader says of the bar and of its unread counter.
    Q_INVOKABLE QString barAccessibleName(int total) const;
    Q_INVOKABLE QString indicatorAccessibleName(int here, const QString &scopeName, int other) const;

    // A chip: sets the filter (an InboxFilter value) and clears the conversation kind.
    Q_INVOKABLE void chooseChip(int filter);
    // A filter menu entry's value.
    Q_INVOKABLE void chooseFilter(const QString &value);
    // "Clear": the filter, the kind and the label go back to showing everything; the search stays.
    Q_INVOKABLE void clearFilters();

    // Recomputes now instead of on the next turn.
    void update();

Q_SIGNALS:
    void changed();

private:
    struct State
    {
        bool showsDirectChip = false;
        QString directChip;
        QString focusedChip;
        QString summary;
        QString labelFaceColor;
        EmptyState empty;
        friend bool operator==(const State &, const State &) = default;
    };


    Inbox &m_inbox;
    State m_state;
    NextTurn m_nextTurn{this, [this] { update(); }};
};
