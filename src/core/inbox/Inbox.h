#pragma once

#include "AccountState.h"
#include "ConversationReply.h"
#include "FieldAssign.h"
#include "InboxFilter.h"
#include "InboxServices.h"
#include "ListControls.h"
#include "LocalChange.h"
#include "LocalChangeQueue.h"
#include "MessageList.h"
#include "PanelGeometry.h"
#include "PanelState.h"
#include "PendingReply.h"
#include "ReaderState.h"
#include "Replies.h"
#include "ScheduledTasks.h"
#include "SyncCycle.h"
#include "VisibleMessageList.h"

#include "records/InboxScope.h"
#include "records/Message.h"
#include "records/ThreadIndex.h"

#include "content/MessageBlockList.h"
#include "content/MessageContentCache.h"
#include "liveinbox/CommandRunner.h"
#include "liveinbox/PreparedSnapshot.h"

#include "notch/NotchMotion.h"
#include "notch/NotchPresentation.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class ArrivalTracker;
class TextMeasurer;

// The one observable model of the application. Every view reads it, every user action goes through it,
// and it alone talks to the service. Main thread only.
//
// A facade: the sync cycle (SyncCycle), the queue of local changes (LocalChangeQueue), the replies (Replies),
// the account and its inboxes (AccountState), the shown list and its thread index (MessageList), the visible
// rows (VisibleRows), the panel's state (PanelState) and its surface geometry (PanelGeometry) are parts of
// their own, which the inbox composes and whose state and notifications it passes on unchanged.
//
// Observed fields notify only when a write changes their value; the message list, the pending replies and
// callbacks notify on every write. Every write of the message list also drops the cached reader size and the
// thread-member cache.
class Inbox : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool live READ live CONSTANT)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    Q_PROPERTY(QVariant connectionError READ connectionErrorValue NOTIFY connectionErrorChanged)
    Q_PROPERTY(QVariant actionError READ actionErrorValue WRITE setActionErrorValue NOTIFY actionErrorChanged)
    Q_PROPERTY(QString directDraft READ directDraft WRITE setDirectDraft NOTIFY directDraftChanged)
    Q_PROPERTY(QVariant replyStatus READ replyStatusValue NOTIFY replyStatusChanged)
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged)
    Q_PROPERTY(bool pinned READ pinned WRITE setPinned NOTIFY pinnedChanged)
    Q_PROPERTY(bool focusHoldsOpen READ focusHoldsOpen WRITE setFocusHoldsOpen NOTIFY focusHoldsOpenChanged)
    Q_PROPERTY(bool readerTucked READ readerTucked WRITE setReaderTucked NOTIFY readerTuckedChanged)
    Q_PROPERTY(int filter READ filterValue WRITE setFilterValue NOTIFY filterChanged)
    Q_PROPERTY(QString scope READ scopeValue WRITE setScopeValue NOTIFY scopeChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)
    // The conversation kind's raw value, empty for none.
    Q_PROPERTY(QString kind READ kindValue WRITE setKindValue NOTIFY kindChanged)
    Q_PROPERTY(bool arrival READ arrival NOTIFY arrivalChanged)
    Q_PROPERTY(bool refreshInFlight READ refreshInFlight NOTIFY refreshInFlightChanged)
    Q_PROPERTY(bool drainingChanges READ drainingChanges NOTIFY drainingChangesChanged)
    Q_PROPERTY(double notchWidth READ notchWidth WRITE setNotchWidth NOTIFY notchWidthChanged)
    Q_PROPERTY(double topInset READ topInset WRITE setTopInset NOTIFY topInsetChanged)
    Q_PROPERTY(bool hasNotch READ hasNotch WRITE setHasNotch NOTIFY hasNotchChanged)
    // The collapsed surface keeps its tab with nothing unread (set by the shell where no tray exists).
    Q_PROPERTY(bool keepsTab READ keepsTab WRITE setKeepsTab NOTIFY keepsTabChanged)
    Q_PROPERTY(int geometryProfile READ geometryProfileValue NOTIFY geometryProfileChanged)
    Q_PROPERTY(bool hasSelection READ hasSelection NOTIFY selectedIDChanged)
    // The surface geometry; every value below changes together and notifies through geometryChanged.
    Q_PROPERTY(NotchPresentation presentation READ presentation NOTIFY geometryChanged)
    Q_PROPERTY(int presentationPhase READ presentationPhase NOTIFY geometryChanged)
    Q_PROPERTY(double presentationWidth READ presentationWidth NOTIFY geometryChanged)
    Q_PROPERTY(double presentationHeight READ presentationHeight NOTIFY geometryChanged)
    Q_PROPERTY(double compactWidth READ compactWidth NOTIFY geometryChanged)
    Q_PROPERTY(double contentWidth READ contentWidth NOTIFY geometryChanged)
    Q_PROPERTY(double contentHeight READ contentHeight NOTIFY geometryChanged)
    Q_PROPERTY(double height READ height NOTIFY geometryChanged)
    Q_PROPERTY(bool canResizeReader READ canResizeReader NOTIFY geometryChanged)
    // Counters of the bar; they notify through countsChanged.
    Q_PROPERTY(VisibleMessageList *visibleMessages READ visibleMessages CONSTANT)
    Q_PROPERTY(ListControls *controls READ controls CONSTANT)
    // The selected message as the reader shows it.
    Q_PROPERTY(ReaderState *reader READ reader CONSTANT)
    // The selected message's texts, empty without a selection.
    Q_PROPERTY(QString selectedSubject READ selectedSubject NOTIFY selectedMessageChanged)
    Q_PROPERTY(QString selectedBody READ selectedBody NOTIFY selectedMessageChanged)
    // The selected message's body as text blocks, for the reader.
    Q_PROPERTY(MessageBlockList *selectedBlocks READ selectedBlocks CONSTANT)
    Q_PROPERTY(int totalUnreadCount READ totalUnreadCount NOTIFY countsChanged)
    Q_PROPERTY(int unreadCount READ unreadCount NOTIFY countsChanged)
    Q_PROPERTY(QString scopeName READ scopeName NOTIFY countsChanged)

public:
    Inbox(bool live, InboxServices services, QObject *parent = nullptr);
    ~Inbox() override;

    static inline const QString allLabels = QStringLiteral("All labels");

    // ---- Sync cycle ----
    void startSync();
    // Fetches and applies one snapshot, coalescing concurrent requests. `done` runs when this call has
    // finished its part (at once when the call was skipped or coalesced).
    void refresh(std::function<void()> done = {});
    // Ends the open sync call, if any, so the loop refreshes and subscribes again with fresh tickets: after a
    // wake from sleep, tickets and connections rarely survive.
    void renewSync() { m_sync.renew(); }
    Q_INVOKABLE void retry() { refresh(); }

    // ---- Stored fields ----
    // Parsed message bodies, shared by every view.
    MessageContentCache &contentCache() { return m_contentCache; }
    bool live() const { return m_live; }
    const QList<Message> &messages() const { return m_list.messages(); }
    void setMessages(QList<Message> messages) { setMessages(std::move(messages), nullptr); }
    bool loading() const { return m_loading; }
    const std::optional<QString> &connectionError() const { return m_connectionError; }
    const std::optional<QString> &actionError() const { return m_actionError; }
    void setActionError(std::optional<QString> error)
    {
        write(m_actionError, std::move(error), &Inbox::actionErrorChanged);
    }
    const QString &directDraft() const { return m_replies.directDraft(); }
    void setDirectDraft(const QString &draft) { m_replies.setDirectDraft(draft); }
    const QHash<QString, QString> &replyDrafts() const { return m_replies.drafts(); }
    void setReplyDraft(const QString &threadKey, const QString &text) { m_replies.setDraft(threadKey, text); }
    const QList<PendingReply> &pendingReplies() const { return m_replies.pending(); }
    const QHash<QString, QUuid> &replyIdentities() const { return m_replies.identities(); }
    const std::optional<QString> &replyStatus() const { return m_replies.status(); }
    void setReplyStatus(std::optional<QString> status) { m_replies.setStatus(std::move(status)); }
    const QHash<InboxScope, QHash<QString, QString>> &labelColors() const { return m_account.labelColors(); }
    const QHash<InboxScope, QString> &scopeNames() const { return m_account.scopeNames(); }
    const QList<InboxScope> &availableScopes() const { return m_account.availableScopes(); }
    bool refreshInFlight() const { return m_sync.refreshInFlight(); }
    bool refreshPending() const { return m_sync.refreshPending(); }
    bool syncing() const { return m_sync.syncing(); }
    const QList<LocalChange> &changes() const { return m_localChanges.changes(); }
    const QList<QUuid> &confirmedFocus() const { return m_localChanges.confirmedFocus(); }
    const QHash<QUuid, bool> &confirmedUnread() const { return m_localChanges.confirmedUnread(); }
    bool drainingChanges() const { return m_localChanges.draining(); }
    using SaveLocalChange = LocalChangeQueue::Save;
    void setSaveLocalChange(SaveLocalChange save) { m_localChanges.setSave(std::move(save)); }
    qint64 revision() const { return m_localChanges.revision(); }
    const std::optional<QString> &accountID() const { return m_account.accountID(); }
    const std::optional<QString> &serviceOrigin() const { return m_account.serviceOrigin(); }
    bool expanded() const { return m_panel.expanded(); }
    void setExpanded(bool expanded) { m_panel.setExpanded(expanded); }
    bool pinned() const { return m_panel.pinned(); }
    void setPinned(bool pinned) { m_panel.setPinned(pinned); }
    bool focusHoldsOpen() const { return m_panel.focusHoldsOpen(); }
    void setFocusHoldsOpen(bool hold) { m_panel.setFocusHoldsOpen(hold); }
    const std::optional<QUuid> &selectedID() const { return m_selectedID; }
    void setSelectedID(std::optional<QUuid> id);
    bool readerTucked() const { return m_panel.readerTucked(); }
    void setReaderTucked(bool tucked) { m_panel.setReaderTucked(tucked); }
    InboxFilter filter() const { return m_filter; }
    void setFilter(InboxFilter filter) { write(m_filter, filter, &Inbox::filterChanged); }
    const InboxScope &scope() const { return m_scope; }
    void setScope(const InboxScope &scope) { write(m_scope, scope, &Inbox::scopeChanged); }
    const QString &query() const { return m_query; }
    void setQuery(const QString &query) { write(m_query, query, &Inbox::queryChanged); }
    const QString &label() const { return m_label; }
    void setLabel(const QString &label) { write(m_label, label, &Inbox::labelChanged); }
    const std::optional<ConversationKind> &kind() const { return m_kind; }
    void setKind(std::optional<ConversationKind> kind) { write(m_kind, kind, &Inbox::kindChanged); }
    const QSet<QUuid> &focusedIDs() const { return m_focusedIDs; }
    const QList<QUuid> &focusOrder() const { return m_focusOrder; }
    const std::optional<QUuid> &latestArrivalID() const { return m_latestArrivalID; }
    bool arrival() const { return m_arrival; }
    double notchWidth() const { return m_panel.notchWidth(); }
    void setNotchWidth(double width) { m_panel.setNotchWidth(width); }
    double topInset() const { return m_panel.topInset(); }
    void setTopInset(double inset) { m_panel.setTopInset(inset); }
    bool hasNotch() const { return m_panel.hasNotch(); }
    void setHasNotch(bool hasNotch) { m_panel.setHasNotch(hasNotch); }
    bool keepsTab() const { return m_panel.keepsTab(); }
    void setKeepsTab(bool keepsTab) { m_panel.setKeepsTab(keepsTab); }
    int demoIndex() const { return m_demoIndex; }
    const std::optional<QSizeF> &cachedReaderSize() const { return m_geometry.cachedReaderSize(); }

    // Motion profile of the next geometry change.
    using GeometryProfile = NotchMotion::Profile;
    GeometryProfile geometryProfile() const { return m_panel.geometryProfile(); }
    void setGeometryProfile(GeometryProfile profile) { m_panel.setGeometryProfile(profile); }

    void setOnArrival(std::function<void()> callback) { m_onArrival = std::move(callback); }
    void setOnHoverStateChange(std::function<void()> callback) { m_panel.setOnHoverStateChange(std::move(callback)); }
    void setOnOpen(std::function<void()> callback) { m_panel.setOnOpen(std::move(callback)); }

    // ---- Visible list, threads and counts ----
    // The visible rows as a list model for the views (rows keep their identity by message id).
    VisibleMessageList *visibleMessages() const;
    // The controls around the list (chips, menus, summary, empty state).
    ListControls *controls() const { return m_controls; }
    ReaderState *reader() const { return m_reader; }
    VisibleMessageList &visibleList() const { return *m_visibleList; }
    QList<Message> scopedMessages() const { return m_list.scoped(m_scope); }
    QList<Message> visible();
    std::optional<Message> selected() const;
    QList<Message> focusedMessages() const { return m_list.inOrder(m_focusOrder); }
    QString threadKey(const Message &message) { return m_list.threads().key(message); }
    QList<Message> members(const Message &message) { return m_list.threads().members(message); }
    QList<ConversationReply> replyRows(const Message &message, bool excludingRoot);
    int unreadCount() const { return unreadCount(m_scope); }
    int unreadCount(const InboxScope &scope) const { return m_list.unreadCount(scope); }
    int totalUnreadCount() const { return m_list.totalUnreadCount(); }
    int directUnreadCount() const { return m_list.directUnreadCount(m_scope); }
    int reviewCount() const { return m_list.reviewCount(m_scope); }
    QString scopeName() const { return m_account.scopeName(m_scope); }
    QList<InboxScope> sortedScopes() const { return m_list.sortedScopes(availableScopes(), scopeNames()); }
    void switchScope(const InboxScope &scope);

    // ---- Local changes ----
    void select(const Message &message);
    void toggleFocus(const Message &message);
    void setTeamLabel(const QString &label, const QUuid &id);
    QStringList labels() const;
    Message cardFocusTarget(const Message &message) { return m_list.cardFocusTarget(message, m_focusOrder); }
    bool cardIsFocused(const Message &message) { return m_list.cardIsFocused(message, m_focusedIDs); }
    // The workspace link for a message (or the bare workspace), or an empty URL when there is none.
    QUrl workspaceUrl(const std::optional<Message> &message) const;
    void openWorkspace(const std::optional<Message> &message);

    // ---- Replies ----
    // Sends the draft of the message's conversation (live inbox).
    void sendReply(const Message &message);
    void confirmReply(const QUuid &id, const QString &serverID, const QString &status);
    bool hasUnsentDrafts() const { return m_replies.hasUnsentDrafts(); }
    bool hasSendingReplies() const { return m_replies.hasSendingReplies(); }

    // ---- Demo ----
    // Adds one simulated arrival to the scope (the current scope when none is given).
    void simulate(const std::optional<InboxScope> &scope = std::nullopt);
    // Appends a local reply to the demo's direct team conversation.
    void addDemoReply(const QUuid &id, const QString &body);

    // ---- For the views: operations on a message named by its canonical id (no-ops for unknown ids) ----
    Q_INVOKABLE void selectMessage(const QString &id);
    Q_INVOKABLE void deselect() { setSelectedID(std::nullopt); }
    // Focuses or unfocuses what the message's card stands for (cardFocusTarget).
    Q_INVOKABLE void toggleCardFocus(const QString &id);
    Q_INVOKABLE void toggleMessageFocus(const QString &id);
    Q_INVOKABLE void setTeamLabelFor(const QString &label, const QString &id);
    Q_INVOKABLE void switchScopeTo(const QString &scope) { switchScope(InboxScope{scope}); }
    Q_INVOKABLE void clearReplyStatus() { setReplyStatus(std::nullopt); }
    QString selectedSubject() const;
    QString selectedBody() const;
    MessageBlockList *selectedBlocks() const { return m_selectedBlocks; }

    // ---- Panel state ----
    Q_INVOKABLE void open() { m_panel.open(); }
    Q_INVOKABLE void close() { m_panel.close(); }
    bool closeFromOutsideClick(int clickCount) { return m_panel.closeFromOutsideClick(clickCount); }

    // ---- Geometry ----
    // The surface's phase and size in the current state.
    NotchPresentation presentation() { return m_geometry.presentation(); }
    int presentationPhase() { return int(presentation().phase); }
    double presentationWidth() { return presentation().size.width(); }
    double presentationHeight() { return presentation().size.height(); }
    // Width of the collapsed surface (0: no surface at all).
    double compactWidth() const { return m_geometry.compactWidth(); }
    // Size of the open card's content.
    double contentWidth() { return m_geometry.contentWidth(); }
    double contentHeight() { return m_geometry.contentHeight(); }
    // Height of the surface, collapsed or open.
    double height() { return m_geometry.height(); }
    // Whether the selected message can switch between its full and short reader form.
    bool canResizeReader() { return m_geometry.canResizeReader(); }
    // Switches the selected message between its full and short form (long messages only).
    Q_INVOKABLE void toggleReaderSize();
    // The reader size of the selected message: the cached estimate, measured when absent.
    QSizeF readerSize() { return m_geometry.readerSize(); }
    // The estimate itself, uncached (400 x 352 with no selection).
    QSizeF measureReaderSize() { return m_geometry.measureReaderSize(); }
    bool hasSelection() const { return selected().has_value(); }

    // Text measurement for the reader estimate; the application installs one that lays text out with the
    // platform's fonts. Without one every message counts as fitting the standard card. Not owned.
    void setTextMeasurer(const TextMeasurer *measurer);

Q_SIGNALS:
    void messagesChanged();
    void loadingChanged();
    void connectionErrorChanged();
    void actionErrorChanged();
    void directDraftChanged();
    void replyDraftsChanged();
    void pendingRepliesChanged();
    void replyIdentitiesChanged();
    void replyStatusChanged();
    void labelColorsChanged();
    void scopeNamesChanged();
    void availableScopesChanged();
    void refreshInFlightChanged();
    void refreshPendingChanged();
    void syncingChanged();
    void changesChanged();
    void confirmedFocusChanged();
    void confirmedUnreadChanged();
    void drainingChangesChanged();
    void revisionChanged();
    void accountIDChanged();
    void serviceOriginChanged();
    void geometryProfileChanged();
    void expandedChanged();
    void pinnedChanged();
    void focusHoldsOpenChanged();
    void selectedIDChanged();
    void readerTuckedChanged();
    void filterChanged();
    void scopeChanged();
    void queryChanged();
    void labelChanged();
    void kindChanged();
    void focusedIDsChanged();
    void focusOrderChanged();
    void latestArrivalIDChanged();
    void arrivalChanged();
    void notchWidthChanged();
    void topInsetChanged();
    void hasNotchChanged();
    void keepsTabChanged();
    void demoIndexChanged();
    // The selection, or the selected message's content, changed.
    void selectedMessageChanged();
    // Any of the geometry values (presentation, widths, heights, canResizeReader) changed value.
    void geometryChanged();
    // totalUnreadCount, unreadCount or scopeName changed value.
    void countsChanged();

private:
    friend class InboxTestAccess;

    // QML-facing forms of optional and enumerated fields.
    QVariant connectionErrorValue() const;
    QVariant actionErrorValue() const { return m_actionError ? QVariant(*m_actionError) : QVariant(); }
    void setActionErrorValue(const QVariant &value);
    QVariant replyStatusValue() const { return replyStatus() ? QVariant(*replyStatus()) : QVariant(); }
    int filterValue() const { return int(m_filter); }
    void setFilterValue(int value);
    QString scopeValue() const { return m_scope.rawValue; }
    void setScopeValue(const QString &value) { setScope(InboxScope{value}); }
    int geometryProfileValue() const { return int(geometryProfile()); }
    QString kindValue() const { return m_kind ? ConversationKinds::rawValue(*m_kind) : QString(); }
    void setKindValue(const QString &value) { setKind(ConversationKinds::fromRawValue(value)); }
    std::optional<Message> messageWithID(const QString &id) const;

    // Re-reads the derived values and notifies those that changed.
    void updateGeometry();
    void updateCounts();

    // A new list with the thread index built for it (null: built when first asked for).
    void setMessages(QList<Message> messages, std::unique_ptr<ThreadIndex> threads);
    void apply(PreparedSnapshot &prepared);
    void clearAfterFailure(const QString &description);
    void announceArrival(const QUuid &id);
    void setDemoIndex(int index) { write(m_demoIndex, index, &Inbox::demoIndexChanged); }

    void mutate(const QString &operation, const Message &message);
    // The shown focus and unread state follow the local changes' projection.
    void projectChanges();
    void setFocus(QList<QUuid> order);
    void setLoading(bool loading) { write(m_loading, loading, &Inbox::loadingChanged); }
    void setConnectionError(std::optional<QString> error)
    {
        write(m_connectionError, std::move(error), &Inbox::connectionErrorChanged);
    }
    void setArrival(bool arrival);
    // Stores a value and notifies `changed` when that changed it (an equal value is not written).
    template <class T, class U>
    void write(T &field, U &&value, void (Inbox::*changed)())
    {
        if (assignChanged(field, std::forward<U>(value)))
            Q_EMIT(this->*changed)();
    }


    InboxServices m_services;
    ScheduledTasks m_tasks; // every task scheduled on behalf of this inbox
    MessageContentCache m_contentCache;
    std::unique_ptr<ArrivalTracker> m_arrivalTracker;
    std::function<void()> m_onArrival;
    MessageList m_list;
    const bool m_live;
    std::optional<QString> m_connectionError;
    std::optional<QString> m_actionError;
    bool m_loading = false;
    AccountState m_account;
    std::optional<QUuid> m_selectedID;
    InboxFilter m_filter = InboxFilter::all;
    InboxScope m_scope = InboxScope::personal();
    QString m_query;
    QString m_label = allLabels;
    std::optional<ConversationKind> m_kind;
    QSet<QUuid> m_focusedIDs;
    QList<QUuid> m_focusOrder;
    std::optional<QUuid> m_latestArrivalID;
    bool m_arrival = false;
    int m_demoIndex = 0;
    Scheduler::TimerId m_arrivalTask = 0;
    PanelState m_panel;
    PanelGeometry m_geometry{*this}; // holds the values last notified
    LocalChangeQueue m_localChanges;
    SyncCycle m_sync;
    Replies m_replies;
    struct Counts
    {
        int total = 0;
        int here = 0;
        QString scopeName;
        friend bool operator==(const Counts &, const Counts &) = default;
    };
    Counts m_counts; // the values last notified
    VisibleMessageList *m_visibleList = nullptr; // a child object
    ReaderState *m_reader = nullptr;
    ListControls *m_controls = nullptr;          // a child object
    MessageBlockList *m_selectedBlocks = nullptr; // a child object
};
