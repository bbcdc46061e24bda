// Renders the panel's views in a fixed list of named states to PNG files, for reviewers:
//   tandrel-render-states OUTPUT_DIR
// It runs the real shell on Qt's offscreen platform, once on the demo data and once on a live-like inbox
// fed a fixed snapshot (no service is contacted). Open menus are drawn onto the picture where they open.

#include "Translations.h"
#include "VisualizationSandbox.h"
#include "AppDelegate.h"
#include "NotchPanel.h"
#include "views/PanelMenu.h"

#include "liveinbox/SystemScheduler.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QMenu>
#include <QPainter>
#include <QQuickItem>

#include <cstdio>
#include <functional>

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
    explicit FixtureRunner(bool fail) : m_fail(fail) {}
    void run(const QString &command, const std::optional<QString> &, const std::optional<QString> &,
             const QStringList &, Completion done) override
    {
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

class Renderer
{
public:
    explicit Renderer(QDir out) : m_out(std::move(out)) {}

    std::unique_ptr<AppDelegate> launch(bool demo, bool failing, bool visualization = false)
    {
        AppDelegate::Options options;
        options.arguments = {QStringLiteral("tandrel-render-states")};
        if (demo)
            options.arguments.append(AppDelegate::demoSwitch);
        if (visualization)
            options.arguments.append(AppDelegate::visualizationDemoSwitch);
        options.scheduler = &m_scheduler;
        options.statusItem = false;
        options.systemMonitors = false;
        options.pointerLocation = [] { return QPointF(5, 590); };
        options.liveServices = [failing](Scheduler &scheduler) {
            InboxServices services;
            services.scheduler = &scheduler;
            services.connection = std::make_unique<FixtureRunner>(failing);
            services.mutationConnection = std::make_unique<FixtureRunner>(failing);
            services.subscriptionConnection = std::make_unique<FixtureRunner>(failing);
            services.replyConnection = std::make_unique<FixtureRunner>(failing);
            services.hints = std::make_unique<QuietHints>();
            services.openUrl = [](const QUrl &) {};
            return services;
        };
        auto app = std::make_unique<AppDelegate>(std::move(options));
        app->applicationDidFinishLaunching();
        settle(*app);
        return app;
    }

    // Lets the model and the views catch up, and the short view animations (a few hundred milliseconds of
    // real time) finish.
    void settle(AppDelegate &app)
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        app.panel()->grabWindow();
        QEventLoop wait;
        QTimer::singleShot(350, &wait, &QEventLoop::quit);
        wait.exec();
        app.panel()->grabWindow();
    }

    // Sets the state up, then saves the panel (with any open menu drawn where it opened), or only the
    // visible surface with a margin around it.
    void shot(AppDelegate &app, const QString &name, const std::function<void(Inbox &)> &setUp,
              bool surfaceOnly = false)
    {
        Inbox &inbox = app.inbox();
        inbox.switchScope(InboxScope::personal());
        inbox.setActionError(std::nullopt);
        inbox.setPinned(true);
        inbox.open();
        if (QQuickItem *root = app.panel()->rootView())
            root->setProperty("searchVisible", false);
        settle(app);
        setUp(inbox);
        settle(app);
        QImage image = app.panel()->grabWindow().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QList<PanelMenu *> menus = PanelMenu::activity().openMenus();
        if (!menus.isEmpty() && menus.first()->menu()) {
            QMenu *menu = menus.first()->menu();
            QPainter painter(&image);
            painter.drawPixmap(menu->geometry().topLeft() - app.panel()->geometry().topLeft(), menu->grab());
            painter.end();
            menus.first()->close();
            settle(app);
        }
        if (surfaceOnly) {
            constexpr int margin = 16;
            const QSize surface = app.presentedSize().toSize() * image.devicePixelRatio();
            const QRect around((image.width() - surface.width()) / 2 - margin, 0, surface.width() + 2 * margin,
                               surface.height() + margin);
            image = image.copy(around.intersected(image.rect()));
        }
        const QString path = m_out.filePath(name + QStringLiteral(".png"));
        if (!image.save(path))
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        else
            std::printf("%s\n", qPrintable(path));
    }

    // Waits (a few seconds at most) until every web view has loaded and drawn.
    void waitForWeb(AppDelegate &app)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 8000) {
            QQuickItem *view = find(app, QStringLiteral("visualizationView"));
            if (view && !view->property("loading").toBool() && view->property("loadProgress").toInt() == 100)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        const QDeadlineTimer drawn(1500);
        while (!drawn.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    static QQuickItem *find(AppDelegate &app, const QString &name)
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
    static void openMenuOf(AppDelegate &app, const QString &name)
    {
        if (QQuickItem *item = find(app, name))
            QMetaObject::invokeMethod(item, "clicked");
    }

private:
    SystemScheduler m_scheduler;
    QDir m_out;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TANDREL_REDUCE_MOTION", "1");
    VisualizationSandbox::prepareEngine(); // before the application object
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // In the user's language, so a translation can be looked at too.
    Translations translations;
    translations.install();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    Renderer renderer(out);
    {
        auto demo = renderer.launch(true, false);
        renderer.shot(*demo, QStringLiteral("demo-collapsed"), [](Inbox &inbox) { inbox.close(); });
        renderer.shot(*demo, QStringLiteral("demo-open-list"), [](Inbox &) {});
        // The README's picture.
        renderer.shot(*demo, QStringLiteral("demo-open-card"), [](Inbox &) {}, true);
        renderer.shot(*demo, QStringLiteral("demo-filter-unread"), [](Inbox &inbox) { inbox.setFilter(InboxFilter::unread); });
        renderer.shot(*demo, QStringLiteral("demo-filter-focused"), [](Inbox &inbox) { inbox.setFilter(InboxFilter::focused); });
        renderer.shot(*demo, QStringLiteral("demo-filter-spam"), [](Inbox &inbox) { inbox.setFilter(InboxFilter::review); });
        renderer.shot(*demo, QStringLiteral("demo-team-list"), [](Inbox &inbox) { inbox.switchScope(InboxScope::demoTeamLaunch()); });
        renderer.shot(*demo, QStringLiteral("demo-team-direct"), [](Inbox &inbox) {
            inbox.switchScope(InboxScope::demoTeamLaunch());
            inbox.setFilter(InboxFilter::direct);
        });
        renderer.shot(*demo, QStringLiteral("demo-team-thread-unread"), [](Inbox &inbox) {
            inbox.switchScope(InboxScope::demoTeamLaunch());
            inbox.setFilter(InboxFilter::unread);
            inbox.setKind(ConversationKind::thread);
        });
        renderer.shot(*demo, QStringLiteral("demo-search-no-match"), [&demo](Inbox &inbox) {
            demo->panel()->rootView()->setProperty("searchVisible", true);
            inbox.setQuery(QStringLiteral("no such words"));
        });
        renderer.shot(*demo, QStringLiteral("demo-error-line"), [](Inbox &inbox) {
            inbox.setActionError(QStringLiteral("Could not confirm the saved change."));
        });
        renderer.shot(*demo, QStringLiteral("demo-focused-row"), [](Inbox &inbox) {
            inbox.toggleFocus(inbox.visible().at(1));
        });
        renderer.shot(*demo, QStringLiteral("demo-label-filter-menu"), [&demo, &renderer](Inbox &) {
            renderer.settle(*demo);
            Renderer::openMenuOf(*demo, QStringLiteral("labelFilterMenu"));
        });
        renderer.shot(*demo, QStringLiteral("demo-team-label-menu"), [&demo, &renderer](Inbox &inbox) {
            inbox.switchScope(InboxScope::demoTeamLaunch());
            renderer.settle(*demo);
            Renderer::openMenuOf(*demo, QStringLiteral("teamLabelFace"));
        });
        renderer.shot(*demo, QStringLiteral("demo-filter-menu"), [&demo, &renderer](Inbox &inbox) {
            inbox.switchScope(InboxScope::demoTeamLaunch());
            renderer.settle(*demo);
            Renderer::openMenuOf(*demo, QStringLiteral("filterButton"));
        });
        renderer.shot(*demo, QStringLiteral("demo-reader"), [](Inbox &inbox) { inbox.select(inbox.visible().first()); });
        renderer.shot(*demo, QStringLiteral("demo-reader-markdown"), [](Inbox &inbox) {
            // Every block kind, a kept and a dropped link, and a code line longer than the reader.
            QList<Message> messages = inbox.messages();
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
            inbox.select(sample);
        });
        const auto selectWhere = [](Inbox &inbox, auto &&matches) {
            for (const Message &message : inbox.messages())
                if (matches(message)) {
                    inbox.switchScope(message.scope);
                    inbox.select(message);
                    return;
                }
        };
        renderer.shot(*demo, QStringLiteral("demo-team-chat"), [&](Inbox &inbox) {
            selectWhere(inbox, [](const Message &m) { return m.kind == ConversationKind::direct && !m.scope.isPersonal(); });
            inbox.setDirectDraft(QStringLiteral("Sounds good, ship it"));
        });
        renderer.shot(*demo, QStringLiteral("demo-reader-unreleased"), [&](Inbox &inbox) {
            selectWhere(inbox, [](const Message &m) { return !m.released; });
        });
        renderer.shot(*demo, QStringLiteral("demo-reader-tucked"), [&](Inbox &inbox) {
            inbox.switchScope(InboxScope::personal());
            for (const Message &message : inbox.messages()) {
                inbox.select(message);
                if (inbox.canResizeReader()) {
                    if (!inbox.readerTucked())
                        inbox.toggleReaderSize();
                    return;
                }
            }
        });
    }
    {
        auto visualization = renderer.launch(true, false, true);
        renderer.shot(*visualization, QStringLiteral("demo-visualization"), [&](Inbox &inbox) {
            inbox.select(inbox.messages().first());
            renderer.settle(*visualization);
            renderer.waitForWeb(*visualization);
        });
    }
    {
        auto live = renderer.launch(false, false);
        renderer.shot(*live, QStringLiteral("live-list"), [](Inbox &) {});
        renderer.shot(*live, QStringLiteral("live-team-list"), [](Inbox &inbox) {
            inbox.switchScope(InboxScope{QStringLiteral("team-north")});
        });
        renderer.shot(*live, QStringLiteral("live-thread-reader"), [](Inbox &inbox) {
            inbox.switchScope(InboxScope{QStringLiteral("team-north")});
            inbox.selectMessage(Message::canonical(inbox.visible().last().id));
            for (const Message &message : inbox.messages())
                if (message.subject == QLatin1String("Crash on start"))
                    inbox.select(message);
        });
        renderer.shot(*live, QStringLiteral("live-pending-reply"), [](Inbox &inbox) {
            inbox.switchScope(InboxScope{QStringLiteral("team-north")});
            for (const Message &message : inbox.messages())
                if (message.subject == QLatin1String("Crash on start"))
                    inbox.select(message);
            inbox.reader()->update();
            inbox.reader()->setDraft(QStringLiteral("On it: a fix is **building** now."));
            inbox.reader()->send();
            inbox.reader()->setDraft(QStringLiteral("And a second thought, kept in the draft"));
        });
        renderer.shot(*live, QStringLiteral("live-chat"), [](Inbox &inbox) {
            for (const Message &message : inbox.messages())
                if (message.kind == ConversationKind::direct)
                    inbox.select(message);
        });
        renderer.shot(*live, QStringLiteral("live-label-filter-menu"), [&live, &renderer](Inbox &inbox) {
            inbox.switchScope(InboxScope{QStringLiteral("team-north")});
            renderer.settle(*live);
            Renderer::openMenuOf(*live, QStringLiteral("labelFilterMenu"));
        });
    }
    {
        auto failing = renderer.launch(false, true);
        renderer.shot(*failing, QStringLiteral("live-connection-error"), [](Inbox &) {});
    }
    return 0;
}
