#include "ViewStates.h"

#include "NotchPanel.h"

#include "inbox/DemoSamples.h"
#include "inbox/Inbox.h"
#include "liveinbox/CommandRunner.h"
#include "liveinbox/HintSource.h"

#include <QQuickItem>
#include <QUuid>

namespace {

// A live-like snapshot: a personal inbox and a team with configured label colours.
const char *const fixture = R"({"version":1,"fetchedAt":1.5,
"account":{"id":"me","provider":"google","origin":"https://tandrel.example"},
"scopes":[{"id":"personal","name":"Personal inbox","colors":{}},
          {"id":"team-north","name":"North studio","colors":{"Bug":"#F6ADAF","Design":"#9FE5DF"}}],
"messages":[
 {"id":"r1","messageId":"m1","scopeId":"personal","conversationId":"c1","senderId":"ada","sender":"Ada Byrne",
  "subject":"Quarterly numbers are in","body":"The numbers look good.","categories":["Updates & context"],
  "kind":"inbox","createdAt":30,"unread":true,"focused":false,"focusIndex":0},
 {"id":"r2","messageId":"m2","scopeId":"personal","conversationId":"c2","senderId":"tom","sender":"Tom Okafor",
  "subject":"Can we talk on Friday?","body":"Friday works?","categories":["Needs response"],
  "kind":"inbox","createdAt":20,"unread":false,"focused":true,"focusIndex":0},
 {"id":"r3","messageId":"m3","scopeId":"team-north","conversationId":"c3","senderId":"kim","sender":"Kim Laine",
  "subject":"Crash on start","body":"It crashes.","categories":["Bug"],
  "kind":"thread","conversation":"Release 4","createdAt":25,"unread":true,"focused":false,"focusIndex":0},
 {"id":"r4","messageId":"m4","scopeId":"team-north","conversationId":"c3","senderId":"me","sender":"Me",
  "subject":"Re: Crash on start","body":"Looking.","categories":["Bug"],"replyTo":"m3",
  "kind":"thread","conversation":"Release 4","createdAt":26,"unread":false,"focused":false,"focusIndex":0},
 {"id":"r5","messageId":"m5","scopeId":"team-north","conversationId":"c5","senderId":"ivo","sender":"Ivo Marsh",
  "subject":"New icon set","body":"Have a look.","categories":["Design"],
  "kind":"direct","createdAt":22,"unread":true,"focused":false,"focusIndex":0}]})";

// Answers "snapshot" with the fixture (or a failure), and leaves every other command pending.
class FixtureRunner final : public CommandRunner
{
public:
    FixtureRunner(bool fail, std::function<void(const QString &)> ran) : m_fail(fail), m_ran(std::move(ran)) {}
    void run(const QString &command, const std::optional<QString> &, const std::optional<QString> &,
             const QStringList &, Completion done) override
    {
        if (m_ran)
            m_ran(command);
        if (command != QLatin1String("snapshot"))
            return;
        const Result<QByteArray> output = m_fail ? Result<QByteArray>(Failure::tandrel(
                                                       1, QStringLiteral("The Tandrel tool could not reach the service.")))
                                                 : Result<QByteArray>(QByteArray(fixture));
        // Posted on an object of the runner's own: a destroyed runner calls back no more.
        QMetaObject::invokeMethod(&m_context, [done, output] { done(output); }, Qt::QueuedConnection);
    }

private:
    bool m_fail;
    std::function<void(const QString &)> m_ran;
    QObject m_context;
};

// Sync channels that stay quiet.
class QuietHints final : public HintSource
{
    class Quiet final : public HintSubscription
    {
        void cancel() override {}
    };

public:
    std::unique_ptr<HintSubscription> notifications(HintHandler, Completion) override
    {
        return std::make_unique<Quiet>();
    }
};

void selectWhere(Inbox &inbox, const std::function<bool(const Message &)> &matches)
{
    const QList<Message> shown = inbox.messages(); // selecting replaces the list
    for (const Message &message : shown) {
        if (matches(message)) {
            inbox.switchScope(message.scope);
            inbox.select(message);
            return;
        }
    }
}

void selectSubject(Inbox &inbox, const QString &subject)
{
    inbox.switchScope(InboxScope{QStringLiteral("team-north")});
    const QList<Message> shown = inbox.messages(); // selecting replaces the list
    for (const Message &message : shown)
        if (message.subject == subject)
            inbox.select(message);
}

} // namespace

AppDelegate::Options ViewStates::options(Launch launch, Scheduler &scheduler, std::function<void(const QUrl &)> openUrl,
                                         std::function<void(const QString &)> ran)
{
    AppDelegate::Options options;
    options.arguments = {QStringLiteral("tandrel-render-states")};
    if (launch == Launch::demo || launch == Launch::visualization)
        options.arguments.append(AppDelegate::demoSwitch);
    if (launch == Launch::visualization)
        options.arguments.append(AppDelegate::visualizationDemoSwitch);
    options.scheduler = &scheduler;
    options.statusItem = false;
    options.systemMonitors = false;
    options.pointerLocation = [] { return QPointF(5, 590); };
    const bool failing = launch == Launch::failing;
    options.liveServices = [failing, openUrl, ran](Scheduler &services) {
        InboxServices live;
        live.scheduler = &services;
        live.connection = std::make_unique<FixtureRunner>(failing, ran);
        live.mutationConnection = std::make_unique<FixtureRunner>(failing, ran);
        live.subscriptionConnection = std::make_unique<FixtureRunner>(failing, ran);
        live.replyConnection = std::make_unique<FixtureRunner>(failing, ran);
        live.hints = std::make_unique<QuietHints>();
        live.openUrl = [openUrl](const QUrl &url) {
            if (openUrl)
                openUrl(url);
        };
        return live;
    };
    return options;
}

void ViewStates::reset(AppDelegate &app)
{
    Inbox &inbox = app.inbox();
    inbox.deselect();
    inbox.switchScope(InboxScope::personal());
    inbox.setActionError(std::nullopt);
    inbox.setPinned(true);
    inbox.open();
    if (QQuickItem *root = app.panel()->rootView())
        root->setProperty("searchVisible", false);
}

QQuickItem *ViewStates::find(AppDelegate &app, const QString &name)
{
    QList<QQuickItem *> pending{app.panel()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeFirst();
        if (item->objectName() == name && item->isVisible())
            return item;
        pending.append(item->childItems());
    }
    return nullptr;
}

QList<ViewStates::State> ViewStates::all()
{
    const auto on = [](const std::function<void(Inbox &)> &change) {
        return [change](AppDelegate &app) { change(app.inbox()); };
    };
    const auto team = InboxScope::demoTeamLaunch();
    QList<State> states{
        {QStringLiteral("demo-collapsed"), Launch::demo, on([](Inbox &inbox) { inbox.close(); })},
        {QStringLiteral("demo-open-list"), Launch::demo, on([](Inbox &) {})},
        // The README's picture.
        {QStringLiteral("demo-open-card"), Launch::demo, on([](Inbox &) {}), QString(), false, true},
        {QStringLiteral("demo-filter-unread"), Launch::demo, on([](Inbox &inbox) { inbox.setFilter(InboxFilter::unread); })},
        {QStringLiteral("demo-filter-focused"), Launch::demo, on([](Inbox &inbox) { inbox.setFilter(InboxFilter::focused); })},
        {QStringLiteral("demo-filter-spam"), Launch::demo, on([](Inbox &inbox) { inbox.setFilter(InboxFilter::review); })},
        {QStringLiteral("demo-team-list"), Launch::demo, on([team](Inbox &inbox) { inbox.switchScope(team); })},
        {QStringLiteral("demo-team-direct"), Launch::demo, on([team](Inbox &inbox) {
             inbox.switchScope(team);
             inbox.setFilter(InboxFilter::direct);
         })},
        {QStringLiteral("demo-team-thread-unread"), Launch::demo, on([team](Inbox &inbox) {
             inbox.switchScope(team);
             inbox.setFilter(InboxFilter::unread);
             inbox.setKind(ConversationKind::thread);
         })},
        {QStringLiteral("demo-search-no-match"), Launch::demo, [](AppDelegate &app) {
             app.panel()->rootView()->setProperty("searchVisible", true);
             app.inbox().setQuery(QStringLiteral("no such words"));
         }},
        {QStringLiteral("demo-error-line"), Launch::demo, on([](Inbox &inbox) {
             inbox.setActionError(QStringLiteral("Could not confirm the saved change."));
         })},
        {QStringLiteral("demo-focused-row"), Launch::demo, on([](Inbox &inbox) {
             if (!inbox.focusedIDs().contains(inbox.visible().at(1).id))
                 inbox.toggleFocus(inbox.visible().at(1));
         })},
        {QStringLiteral("demo-label-filter-menu"), Launch::demo, on([](Inbox &) {}), QStringLiteral("labelFilterMenu")},
        {QStringLiteral("demo-team-label-menu"), Launch::demo, on([team](Inbox &inbox) { inbox.switchScope(team); }),
         QStringLiteral("teamLabelFace")},
        {QStringLiteral("demo-filter-menu"), Launch::demo, on([team](Inbox &inbox) { inbox.switchScope(team); }),
         QStringLiteral("filterButton")},
        {QStringLiteral("demo-reader"), Launch::demo, on([](Inbox &inbox) { inbox.select(inbox.visible().first()); })},
        {QStringLiteral("demo-reader-markdown"), Launch::demo, on([](Inbox &inbox) {
             // Every block kind, a kept and a dropped link, and a code line longer than the reader.
             QList<Message> messages = inbox.messages();
             if (messages.first().subject != QLatin1String("Release notes, formatted")) {
                 Message sample = messages.first();
                 sample.id = QUuid::createUuid();
                 sample.subject = QStringLiteral("Release notes, formatted");
                 sample.body = QStringLiteral(
                     "# What changed\n\nThe build is **faster** and *quieter*; see [the notes](https://tandrel.example/notes) "
                     "or [this](javascript:alert(1)).\n\n- one\n- two\n1. first\n\n> A quote that runs over more than one "
                     "line of the reader so that its bar follows it down.\n> A second quoted line.\n\n```\n"
                     "let veryLongLine = \"this line is much longer than the reader is wide and scrolls sideways instead\"\n```");
                 messages.prepend(sample);
                 inbox.setMessages(messages);
             }
             inbox.select(inbox.messages().first());
         })},
        {QStringLiteral("demo-team-chat"), Launch::demo, on([](Inbox &inbox) {
             selectWhere(inbox, [](const Message &m) { return m.kind == ConversationKind::direct && !m.scope.isPersonal(); });
             inbox.setDirectDraft(QStringLiteral("Sounds good, ship it"));
         })},
        {QStringLiteral("demo-reader-unreleased"), Launch::demo, on([](Inbox &inbox) {
             selectWhere(inbox, [](const Message &m) { return !m.released; });
         })},
        {QStringLiteral("demo-reader-tucked"), Launch::demo, on([](Inbox &inbox) {
             const QList<Message> shown = inbox.messages();
             for (const Message &message : shown) {
                 inbox.select(message);
                 if (inbox.canResizeReader()) {
                     if (!inbox.readerTucked())
                         inbox.toggleReaderSize();
                     return;
                 }
             }
         })},
        {QStringLiteral("demo-visualization"), Launch::visualization,
         on([](Inbox &inbox) {
             // The sample, not a demo arrival that may have come in before it.
             const QUuid sample = DemoSamples::instance().visualizationSample().id;
             selectWhere(inbox, [&](const Message &m) { return m.id == sample; });
         }),
         QString(), true},
        {QStringLiteral("live-list"), Launch::live, on([](Inbox &) {})},
        {QStringLiteral("live-team-list"), Launch::live,
         on([](Inbox &inbox) { inbox.switchScope(InboxScope{QStringLiteral("team-north")}); })},
        {QStringLiteral("live-thread-reader"), Launch::live,
         on([](Inbox &inbox) { selectSubject(inbox, QStringLiteral("Crash on start")); })},
        {QStringLiteral("live-pending-reply"), Launch::live, on([](Inbox &inbox) {
             selectSubject(inbox, QStringLiteral("Crash on start"));
             inbox.reader()->update();
             inbox.reader()->setDraft(QStringLiteral("On it: a fix is **building** now."));
             inbox.reader()->send();
             inbox.reader()->setDraft(QStringLiteral("And a second thought, kept in the draft"));
         })},
        {QStringLiteral("live-chat"), Launch::live, on([](Inbox &inbox) {
             const QList<Message> shown = inbox.messages();
             for (const Message &message : shown)
                 if (message.kind == ConversationKind::direct)
                     inbox.select(message);
         })},
        {QStringLiteral("live-label-filter-menu"), Launch::live,
         on([](Inbox &inbox) { inbox.switchScope(InboxScope{QStringLiteral("team-north")}); }),
         QStringLiteral("labelFilterMenu")},
        {QStringLiteral("live-connection-error"), Launch::failing, on([](Inbox &) {})},
    };
    return states;
}
