#include "ListControls.h"

#include "FilterText.h"
#include "Inbox.h"
#include "LabelColor.h"
#include "ScopeMenuText.h"

#include "DemoSamples.h"

#include <QSet>
#include <QVariantMap>

#include <algorithm>
#include <QCoreApplication>

static_assert(int(ListControls::All) == int(InboxFilter::all) && int(ListControls::Direct) == int(InboxFilter::direct) &&
              int(ListControls::Unread) == int(InboxFilter::unread) &&
              int(ListControls::Focused) == int(InboxFilter::focused) &&
              int(ListControls::Review) == int(InboxFilter::review));

namespace {

QVariantMap entry(const QString &text, const QVariant &value)
{
    return {{QStringLiteral("text"), text}, {QStringLiteral("value"), value}};
}

QVariantMap separator()
{
    return {{QStringLiteral("separator"), true}};
}

} // namespace

ListControls::ListControls(Inbox &inbox) : QObject(&inbox), m_inbox(inbox)
{
    const auto changed = [this] { m_nextTurn.request(); };
    for (const auto signal : {&Inbox::filterChanged, &Inbox::kindChanged, &Inbox::scopeChanged, &Inbox::queryChanged,
                              &Inbox::labelChanged, &Inbox::loadingChanged, &Inbox::connectionErrorChanged,
                              &Inbox::labelColorsChanged, &Inbox::countsChanged, &Inbox::focusOrderChanged,
                              &Inbox::messagesChanged})
        connect(&inbox, signal, this, changed);
    update();
}

void ListControls::update()
{
    m_nextTurn.done();
    const bool personal = m_inbox.scope().isPersonal();
    State state;
    state.showsDirectChip = !personal;
    state.directChip = FilterText::directChip(m_inbox.directUnreadCount());
    const QList<Message> focused = m_inbox.focusedMessages();
    const auto inScope = std::count_if(focused.cbegin(), focused.cend(),
                                       [&](const Message &message) { return message.scope == m_inbox.scope(); });
    state.focusedChip = FilterText::focusedChip(int(inScope));
    state.summary = FilterText::activeFilterSummary(m_inbox.filter(), m_inbox.kind(), personal);
    state.labelFaceColor = labelColor(m_inbox.label());
    state.empty = EmptyState::of(m_inbox.loading(), m_inbox.connectionError().has_value(), m_inbox.query(),
                                 m_inbox.label(), m_inbox.filter());
    if (state == m_state)
        return;
    m_state = std::move(state);
    Q_EMIT changed();
}

QString ListControls::allChipTitle() const
{
    return FilterText::allChip();
}

QString ListControls::labelColor(const QString &label) const
{
    const auto colors = m_inbox.labelColors().constFind(m_inbox.scope());
    return LabelColor::of(label, colors == m_inbox.labelColors().constEnd() ? nullptr : &*colors);
}

QVariantList ListControls::inboxMenu() const
{
    QVariantList entries;
    for (const InboxScope &scope : m_inbox.sortedScopes()) {
        entries.append(entry(ScopeMenuText::inboxEntry(ScopeMenuText::name(m_inbox.scopeNames(), scope),
                                                       m_inbox.unreadCount(scope), scope == m_inbox.scope()),
                             scope.rawValue));
    }
    return entries;
}

QVariantList ListControls::scopeMenu() const
{
    QVariantList entries;
    for (const InboxScope &scope : m_inbox.sortedScopes()) {
        entries.append(entry(
            ScopeMenuText::scopeEntry(ScopeMenuText::name(m_inbox.scopeNames(), scope), m_inbox.unreadCount(scope)),
            scope.rawValue));
    }
    return entries;
}

QVariantList ListControls::filterMenu() const
{
    const bool personal = m_inbox.scope().isPersonal();
    QVariantList entries{entry(FilterText::allEntry(), QStringLiteral("all")),
                         entry(FilterText::unreadEntry(m_inbox.unreadCount()), QStringLiteral("unread"))};
    if (!m_inbox.live())
        entries.append(entry(FilterText::reviewEntry(personal, m_inbox.reviewCount()), QStringLiteral("review")));
    entries.append(separator());
    if (!personal) {
        QVariantList kinds{entry(QCoreApplication::translate("ListControls", "All conversations"), kindPrefix)};
        for (const ConversationKind kind : ConversationKinds::allCases)
            kinds.append(entry(FilterText::kindTitle(kind), kindPrefix + ConversationKinds::rawValue(kind)));
        QVariantMap submenu = entry(QCoreApplication::translate("ListControls", "Conversations"), QVariant());
        submenu.insert(QStringLiteral("entries"), kinds);
        entries.append(submenu);
    }
    return entries;
}

QVariantList ListControls::labelFilterMenu() const
{
    QVariantList entries{entry(Inbox::allLabels, Inbox::allLabels), separator()};
    for (const QString &name : m_inbox.labels()) {
        QVariantMap item = entry(name == m_inbox.label() ? name + QStringLiteral(" ✓") : name, name);
        item.insert(QStringLiteral("swatch"), labelColor(name));
        entries.append(item);
    }
    return entries;
}

QVariantList ListControls::teamLabelMenu(const QString &category) const
{
    QStringList names;
    QSet<QString> seen;
    for (const Message &sample : DemoSamples::instance().samples()) {
        if (sample.scope == InboxScope::demoTeamLaunch() && !sample.category.isEmpty() &&
            !seen.contains(sample.category)) {
            seen.insert(sample.category);
            names.append(sample.category);
        }
    }
    std::sort(names.begin(), names.end());
    QVariantList entries;
    for (const QString &name : std::as_const(names)) {
        QVariantMap item = entry(name, name);
        item.insert(QStringLiteral("checked"), name == category);
        entries.append(item);
    }
    return entries;
}

void ListControls::chooseChip(int filter)
{
    if (filter < int(InboxFilter::all) || filter > int(InboxFilter::review))
        return;
    m_inbox.setFilter(InboxFilter(filter));
    m_inbox.setKind(std::nullopt);
}

void ListControls::chooseFilter(const QString &value)
{
    if (value == QLatin1String("all")) {
        m_inbox.setFilter(InboxFilter::all);
    } else if (value == QLatin1String("unread")) {
        m_inbox.setFilter(InboxFilter::unread);
    } else if (value == QLatin1String("review")) {
        if (!m_inbox.live())
            m_inbox.setFilter(InboxFilter::review);
    } else if (value.startsWith(kindPrefix)) {
        const QString raw = value.mid(kindPrefix.size());
        if (raw.isEmpty()) {
            m_inbox.setKind(std::nullopt);
        } else if (const std::optional<ConversationKind> kind = ConversationKinds::fromRawValue(raw)) {
            m_inbox.setFilter(InboxFilter::all);
            m_inbox.setKind(kind);
        }
    }
}

void ListControls::clearFilters()
{
    m_inbox.setFilter(InboxFilter::all);
    m_inbox.setKind(std::nullopt);
    m_inbox.setLabel(Inbox::allLabels);
}

QString ListControls::barAccessibleName(int total) const
{
    return ScopeMenuText::barName(total);
}

QString ListControls::indicatorAccessibleName(int here, const QString &scopeName, int other) const
{
    return ScopeMenuText::indicatorName(here, scopeName, other);
}
