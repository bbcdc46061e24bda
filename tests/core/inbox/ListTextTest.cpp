#include "InboxTestSupport.h"
#include "inbox/EmptyState.h"
#include "inbox/FilterText.h"
#include "inbox/LabelColor.h"
#include "inbox/ListControls.h"
#include "inbox/MessageRowText.h"
#include "inbox/ScopeMenuText.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QVariantMap>

namespace {

QString hex(unsigned rgb)
{
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

QStringList texts(const QVariantList &entries)
{
    QStringList result;
    for (const QVariant &entry : entries) {
        const QVariantMap map = entry.toMap();
        result.append(map.value(QStringLiteral("separator")).toBool() ? QStringLiteral("---")
                                                                      : map.value(QStringLiteral("text")).toString());
    }
    return result;
}

} // namespace

TEST(LabelColor, KeysHashAndConfiguredColours)
{
    EXPECT_EQ(LabelColor::key(QStringLiteral("Updates & context")), QStringLiteral("updates-context"));
    EXPECT_EQ(LabelColor::key(QStringLiteral("Needs Response")), QStringLiteral("needs-response"));
    EXPECT_EQ(LabelColor::key(QStringLiteral("Big  Launch")), QStringLiteral("big--launch"));
    // FNV-1a over UTF-16 units: "a" is (0x811C9DC5 ^ 0x61) * 16777619 mod 2^32 = 0xE40C292C, 3826002220 % 10.
    EXPECT_EQ(LabelColor::paletteIndex(QStringLiteral("a")), 0);
    EXPECT_EQ(LabelColor::paletteIndex(QString()), 1);
    // A unit above 0xFF takes part whole, not as bytes: "é" (U+00E9) and "\u0169" differ.
    const quint32 e = (2166136261u ^ 0xE9u) * 16777619u;
    EXPECT_EQ(LabelColor::paletteIndex(QStringLiteral("é")), int(e % 10));
    const quint32 wide = (2166136261u ^ 0x169u) * 16777619u;
    EXPECT_EQ(LabelColor::paletteIndex(QString(QChar(0x169))), int(wide % 10));

    // Both spellings of the standard label get the same palette colour.
    const QString standard = LabelColor::of(QStringLiteral("Needs response"), nullptr);
    EXPECT_EQ(standard, LabelColor::of(QStringLiteral("Needs Response"), nullptr));
    EXPECT_EQ(standard, hex(LabelColor::palette[std::size_t(LabelColor::paletteIndex(QStringLiteral("needs-response")))]));

    QHash<QString, QString> configured{{QStringLiteral("Needs response"), QStringLiteral("#A1b2C3")},
                                       {QStringLiteral("Five"), QStringLiteral("#12345")},
                                       {QStringLiteral("Named"), QStringLiteral("red")},
                                       {QStringLiteral("Long"), QStringLiteral("#1234567")},
                                       {QStringLiteral("Alpha"), QStringLiteral("#12345g")}};
    EXPECT_EQ(LabelColor::of(QStringLiteral("Needs response"), &configured), QStringLiteral("#a1b2c3"));
    for (const char *fallsBack : {"Five", "Named", "Long", "Alpha"}) {
        const QString label = QString::fromLatin1(fallsBack);
        EXPECT_EQ(LabelColor::of(label, &configured), LabelColor::of(label, nullptr)) << fallsBack;
    }
    // The configured colour belongs to that exact label: another capitalisation takes the palette.
    EXPECT_EQ(LabelColor::of(QStringLiteral("Needs Response"), &configured), standard);
}

TEST(ListText, ChipsMenusAndSummary)
{
    EXPECT_EQ(FilterText::directChip(0), QStringLiteral("DMs"));
    EXPECT_EQ(FilterText::directChip(3), QStringLiteral("DMs 3"));
    EXPECT_EQ(FilterText::focusedChip(0), QStringLiteral("Focused 0"));
    EXPECT_EQ(FilterText::unreadEntry(4), QStringLiteral("Unread (4)"));
    EXPECT_EQ(FilterText::reviewEntry(true, 2), QStringLiteral("Spam (2)"));
    EXPECT_EQ(FilterText::reviewEntry(false, 0), QStringLiteral("Needs review (0)"));

    EXPECT_EQ(FilterText::activeFilterSummary(InboxFilter::unread, ConversationKind::direct, false),
              QStringLiteral("Unread · Direct"));
    EXPECT_EQ(FilterText::activeFilterSummary(InboxFilter::review, std::nullopt, true), QStringLiteral("Spam"));
    EXPECT_EQ(FilterText::activeFilterSummary(InboxFilter::review, ConversationKind::thread, false),
              QStringLiteral("Needs review · Thread"));
    for (const InboxFilter quiet : {InboxFilter::all, InboxFilter::direct, InboxFilter::focused})
        EXPECT_TRUE(FilterText::activeFilterSummary(quiet, std::nullopt, false).isEmpty());

    const QHash<InboxScope, QString> names{{InboxScope{QStringLiteral("t")}, QStringLiteral("Launch crew")}};
    EXPECT_EQ(ScopeMenuText::name(names, InboxScope{QStringLiteral("x")}), QStringLiteral("Inbox"));
    EXPECT_EQ(ScopeMenuText::scopeEntry(QStringLiteral("Launch crew"), 2), QStringLiteral("Launch crew · 2 unread"));
    EXPECT_EQ(ScopeMenuText::scopeEntry(QStringLiteral("Launch crew"), 0), QStringLiteral("Launch crew"));
    EXPECT_EQ(ScopeMenuText::inboxEntry(QStringLiteral("Inbox"), 0, false), QStringLiteral("Inbox · 0 unread"));
    EXPECT_EQ(ScopeMenuText::inboxEntry(QStringLiteral("Inbox"), 5, true), QStringLiteral("Inbox · 5 unread ✓"));
    EXPECT_EQ(ScopeMenuText::indicatorName(3, QStringLiteral("Launch crew"), 2),
              QStringLiteral("3 unread in Launch crew, 2 in other inboxes"));
    EXPECT_EQ(ScopeMenuText::indicatorName(1, QStringLiteral("Inbox"), -4), QStringLiteral("1 unread in Inbox, 0 in other inboxes"));
    EXPECT_EQ(ScopeMenuText::barName(5), QStringLiteral("Tandrel, 5 unread messages across inboxes"));
}

// An inbox's name is the service's text: placeholders in it are text too, never filled in.
TEST(ScopeTitles, ANameHoldingPlaceholdersShowsAsWritten)
{
    const QString odd = QStringLiteral("Ops %1 %2 %3 100%");
    EXPECT_EQ(ScopeMenuText::scopeEntry(odd, 2), odd + QStringLiteral(" · 2 unread"));
    EXPECT_EQ(ScopeMenuText::inboxEntry(odd, 0, true), odd + QStringLiteral(" · 0 unread ✓"));
    EXPECT_EQ(ScopeMenuText::indicatorName(4, odd, 1), QStringLiteral("4 unread in ") + odd + QStringLiteral(", 1 in other inboxes"));
}

TEST(EmptyState, FirstRuleThatAppliesWins)
{
    const QString all = Inbox::allLabels;
    struct Case
    {
        bool loading;
        bool failed;
        QString query;
        QString label;
        InboxFilter filter;
        const char *title;
    };
    const Case cases[] = {
        {true, true, QStringLiteral("q"), QStringLiteral("L"), InboxFilter::focused, "Connecting to Tandrel…"},
        {false, true, QStringLiteral("q"), all, InboxFilter::all, "Inbox unavailable"},
        {false, false, QStringLiteral("q"), all, InboxFilter::focused, "No matching messages"},
        {false, false, QString(), QStringLiteral("L"), InboxFilter::direct, "No matching messages"},
        {false, false, QString(), all, InboxFilter::focused, "No focused messages"},
        {false, false, QString(), all, InboxFilter::direct, "No direct messages"},
        {false, false, QString(), all, InboxFilter::unread, "You're all caught up"},
    };
    for (const Case &c : cases) {
        const EmptyState state = EmptyState::of(c.loading, c.failed, c.query, c.label, c.filter);
        EXPECT_EQ(state.title, QString::fromUtf8(c.title));
        const bool focused = c.filter == InboxFilter::focused;
        EXPECT_EQ(state.symbol, focused ? QStringLiteral("circle") : QStringLiteral("checkmark.circle"));
        EXPECT_EQ(state.focusTint, focused);
        EXPECT_EQ(state.subtitle, focused ? QStringLiteral("Choose messages to keep as context for your agent.")
                                          : QStringLiteral("Try another view, label, or search."));
    }
}

TEST(MessageRowText, MetaLineAndFocusButton)
{
    Message personal;
    personal.scope = InboxScope::personal();
    personal.category = QStringLiteral("Updates");
    personal.replies = {DemoReply{}};
    EXPECT_EQ(MessageRowText::meta(personal, false, 3),
              (MessageRowText::Meta{QStringLiteral("Updates"), QString(), {QStringLiteral("· 1 reply")}, false}));
    personal.replies.append(DemoReply{});
    personal.released = false;
    EXPECT_EQ(MessageRowText::meta(personal, true, 3),
              (MessageRowText::Meta{QStringLiteral("Updates"), QString(),
                                    {QStringLiteral("· 3 messages"), QStringLiteral("· 2 replies")}, true}));

    Message team;
    team.scope = InboxScope{QStringLiteral("team")};
    team.category = QStringLiteral("Launch");
    team.conversation = QStringLiteral("Shared inbox");
    team.kind = ConversationKind::inbox;
    // The shared inbox itself is not named, and its counts carry no separator; one member is not counted.
    EXPECT_EQ(MessageRowText::meta(team, true, 2),
              (MessageRowText::Meta{QString(), QString(), {QStringLiteral("2 messages")}, false}));
    EXPECT_TRUE(MessageRowText::meta(team, true, 1).counts.isEmpty());
    team.kind = ConversationKind::thread;
    team.conversation = QStringLiteral("Launch plan");
    EXPECT_EQ(MessageRowText::meta(team, true, 2),
              (MessageRowText::Meta{QString(), QStringLiteral("Launch plan"), {QStringLiteral("· 2 messages")}, false}));

    EXPECT_EQ(MessageRowText::focusTooltip(false, true), QStringLiteral("Owner approval is required before agent focus"));
    EXPECT_EQ(MessageRowText::focusTooltip(true, true), QStringLiteral("Remove from focused messages"));
    EXPECT_EQ(MessageRowText::focusTooltip(true, false), QStringLiteral("Focus for agent context"));
    EXPECT_EQ(MessageRowText::focusAccessibleName(true, QStringLiteral("Ada %1"), QStringLiteral("Plan %2")),
              QStringLiteral("Unfocus message from Ada %1: Plan %2"));
    EXPECT_EQ(MessageRowText::focusAccessibleName(false, QStringLiteral("Ada"), QStringLiteral("Plan")),
              QStringLiteral("Focus message from Ada: Plan"));
    EXPECT_EQ(MessageRowText::focusAccessibleValue(false), QStringLiteral("Not focused"));
}

using ListControlsLive = LiveInboxFixture;

TEST_F(ListControlsLive, FollowTheInboxAndNotifyOncePerTurn)
{
    ListControls &controls = *inbox->controls();
    EXPECT_EQ(controls.emptyTitle(), QStringLiteral("Connecting to Tandrel…"));

    SnapshotJson snapshot;
    snapshot.scope(personalScope());
    snapshot.scope({QStringLiteral("team"), QStringLiteral("Launch crew"), {{QStringLiteral("Bug"), QStringLiteral("#00ff00")}}});
    snapshot.scope({QStringLiteral("quiet"), QString(), {}});
    snapshot.message({.id = QStringLiteral("p1"), .subject = QStringLiteral("P"), .unread = true});
    snapshot.message({.id = QStringLiteral("t1"), .scopeId = QStringLiteral("team"), .conversationId = QStringLiteral("d"),
                      .category = QStringLiteral("Bug"), .kind = QStringLiteral("direct"), .unread = true});
    snapshot.message({.id = QStringLiteral("t2"), .scopeId = QStringLiteral("team"), .conversationId = QStringLiteral("e"),
                      .unread = true});
    deliver(snapshot);
    QCoreApplication::processEvents();

    EXPECT_FALSE(controls.showsDirectChip());
    EXPECT_EQ(controls.emptyTitle(), QStringLiteral("You're all caught up"));
    // The live filter menu has no review entry; the personal inbox has no conversation kinds.
    EXPECT_EQ(texts(controls.filterMenu()), (QStringList{QStringLiteral("All messages"), QStringLiteral("Unread (1)"),
                                                         QStringLiteral("---")}));
    const QStringList inboxMenu = texts(controls.inboxMenu());
    EXPECT_TRUE(inboxMenu.contains(QStringLiteral("Launch crew · 2 unread")));
    EXPECT_TRUE(inboxMenu.contains(QStringLiteral(" · 0 unread"))) << "a scope without unread is counted too";
    EXPECT_EQ(inboxMenu.filter(QStringLiteral("✓")).size(), 1);
    EXPECT_TRUE(inboxMenu.filter(QStringLiteral("✓")).first().startsWith(QStringLiteral("Personal")));
    EXPECT_TRUE(texts(controls.scopeMenu()).contains(QStringLiteral("Launch crew · 2 unread")));
    EXPECT_TRUE(texts(controls.scopeMenu()).contains(QString())) << "nothing unread: the bare name";

    QSignalSpy changed(&controls, &ListControls::changed);
    inbox->switchScope(InboxScope{QStringLiteral("team")});
    inbox->setLabel(QStringLiteral("Bug"));
    inbox->setQuery(QStringLiteral("zzz"));
    EXPECT_EQ(changed.count(), 0) << "recomputed on the next turn";
    QCoreApplication::processEvents();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(controls.showsDirectChip());
    EXPECT_EQ(controls.directChipTitle(), QStringLiteral("DMs 1"));
    EXPECT_EQ(controls.labelFaceColor(), QStringLiteral("#00ff00"));
    EXPECT_EQ(controls.emptyTitle(), QStringLiteral("No matching messages"));
    const QVariantList labels = controls.labelFilterMenu();
    EXPECT_EQ(texts(labels), (QStringList{QStringLiteral("All labels"), QStringLiteral("---"), QStringLiteral("Bug ✓")}));
    EXPECT_EQ(labels.at(2).toMap().value(QStringLiteral("swatch")).toString(), QStringLiteral("#00ff00"));

    // "Thread" from the submenu resets the filter; "Clear" resets filter, kind and label but not the search.
    inbox->setFilter(InboxFilter::unread);
    const QVariantList menu = controls.filterMenu();
    const QVariantList kinds = menu.last().toMap().value(QStringLiteral("entries")).toList();
    EXPECT_EQ(texts(kinds), (QStringList{QStringLiteral("All conversations"), QStringLiteral("Shared inbox"),
                                         QStringLiteral("Thread"), QStringLiteral("Direct")}));
    controls.chooseFilter(kinds.at(2).toMap().value(QStringLiteral("value")).toString());
    EXPECT_EQ(inbox->filter(), InboxFilter::all);
    EXPECT_EQ(inbox->kind(), ConversationKind::thread);
    controls.update();
    EXPECT_EQ(controls.activeFilterSummary(), QStringLiteral("Thread"));
    controls.chooseFilter(QStringLiteral("review"));
    EXPECT_EQ(inbox->filter(), InboxFilter::all) << "a live inbox has no review filter";
    controls.clearFilters();
    EXPECT_EQ(inbox->kind(), std::nullopt);
    EXPECT_EQ(inbox->label(), Inbox::allLabels);
    EXPECT_EQ(inbox->query(), QStringLiteral("zzz"));

    // A chip sets its filter and clears the kind.
    inbox->setKind(ConversationKind::direct);
    controls.chooseChip(int(InboxFilter::focused));
    EXPECT_EQ(inbox->filter(), InboxFilter::focused);
    EXPECT_EQ(inbox->kind(), std::nullopt);
    controls.chooseChip(42);
    EXPECT_EQ(inbox->filter(), InboxFilter::focused);
}

TEST(ListControlsDemo, ReviewEntriesAndTheTeamLabelMenu)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    Inbox inbox(false, std::move(services));
    ListControls &controls = *inbox.controls();
    const QStringList personal = texts(controls.filterMenu());
    ASSERT_EQ(personal.size(), 4);
    EXPECT_EQ(personal.at(2), QStringLiteral("Spam (%1)").arg(inbox.reviewCount()));
    inbox.switchScope(InboxScope::demoTeamLaunch());
    const QStringList team = texts(controls.filterMenu());
    EXPECT_EQ(team.at(2), QStringLiteral("Needs review (%1)").arg(inbox.reviewCount()));
    EXPECT_EQ(team.last(), QStringLiteral("Conversations"));
    controls.chooseFilter(QStringLiteral("review"));
    EXPECT_EQ(inbox.filter(), InboxFilter::review);
    controls.update();
    EXPECT_EQ(controls.activeFilterSummary(), QStringLiteral("Needs review"));

    const QVariantList labels = controls.teamLabelMenu(QStringLiteral("Launch"));
    QStringList names = texts(labels);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(names.removeDuplicates(), 0);
    int checked = 0;
    for (const QVariant &entry : labels)
        checked += entry.toMap().value(QStringLiteral("checked")).toBool() ? 1 : 0;
    EXPECT_EQ(checked, 1);
}
