#include "AppDelegate.h"

#include "AutostartEntry.h"
#include "DesktopNotifier.h"
#include "NotchPanel.h"
#include "QtTextMeasurer.h"
#include "ReduceMotionSetting.h"
#include "TrayMenu.h"
#include "WakeMonitor.h"
#include "QuitAlertBox.h"
#include "X11FullScreenMonitor.h"
#include "X11PointerMonitor.h"
#include "views/PanelMenu.h"

#include "inbox/DemoSamples.h"
#include "liveinbox/LiveInboxConnection.h"
#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/SyncSocket.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchHitTest.h"
#include "notch/NotchSurfaceStyle.h"
#include "notch/OutsideClick.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QIcon>
#include <QScreen>
#include <QStyleHints>
#include <QSystemTrayIcon>

namespace {

Qt::MouseButton mouseButton(int xButton)
{
    switch (xButton) {
    case 1: return Qt::LeftButton;
    case 2: return Qt::MiddleButton;
    case 3: return Qt::RightButton;
    case 8: return Qt::BackButton;
    case 9: return Qt::ForwardButton;
    default: return Qt::ExtraButton3;
    }
}

} // namespace

AppDelegate::AppDelegate(Options options, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_scheduler(*m_options.scheduler),
      m_clicks(QGuiApplication::styleHints()->mouseDoubleClickInterval() / 1000.0,
               QGuiApplication::styleHints()->mouseDoubleClickDistance())
{
    const bool live = !m_options.arguments.contains(demoSwitch);
    InboxServices services;
    if (live)
        services = m_options.liveServices ? m_options.liveServices(m_scheduler) : liveServices(m_scheduler);
    services.scheduler = &m_scheduler;
    m_inbox = std::make_unique<Inbox>(live, std::move(services));
    m_textMeasurer = std::make_unique<QtTextMeasurer>();
    m_inbox->setTextMeasurer(m_textMeasurer.get());
    // Started at login, the application keeps the notification switch it runs with now.
    QStringList command{QCoreApplication::applicationFilePath()};
    if (m_options.arguments.contains(notifySwitch))
        command.append(notifySwitch);
    m_autostart = std::make_unique<AutostartEntry>(m_options.autostartDirectory.isEmpty()
                                                       ? AutostartEntry::defaultDirectory()
                                                       : m_options.autostartDirectory,
                                                   std::move(command));
}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    m_inbox->setOnHoverStateChange({});
    m_inbox->setOnOpen({});
    m_inbox->setOnArrival({});
    for (const Scheduler::TimerId id : std::as_const(m_posted))
        m_scheduler.cancel(id);
    m_posted.clear();
    // The views read the inbox: they go first.
    m_panel.reset();
}

InboxServices AppDelegate::liveServices(Scheduler &scheduler)
{
    InboxServices services;
    services.scheduler = &scheduler;
    services.connection = std::make_unique<LiveInboxConnection>(scheduler);
    services.mutationConnection = std::make_unique<LiveInboxConnection>(scheduler);
    services.subscriptionConnection = std::make_unique<LiveInboxConnection>(scheduler);
    services.replyConnection = std::make_unique<LiveInboxConnection>(scheduler);
    services.hints = std::make_unique<SyncSocket>(*services.subscriptionConnection, scheduler);
    auto decoder = std::make_shared<SnapshotDecoder>();
    services.prepareSnapshot = [decoder](QByteArray bytes, LiveMessageCache cache,
                                         std::function<void(Result<PreparedSnapshot>)> done) {
        decoder->prepare(std::move(bytes), std::move(cache), std::move(done));
    };
    services.openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return services;
}

Scheduler::TimerId AppDelegate::post(double seconds, std::function<void()> task)
{
    auto id = std::make_shared<Scheduler::TimerId>(0);
    *id = m_scheduler.schedule(seconds, [this, id, task = std::move(task)] {
        m_posted.remove(*id);
        task();
    });
    m_posted.insert(*id);
    return *id;
}

void AppDelegate::cancel(Scheduler::TimerId &id)
{
    if (!id)
        return;
    m_scheduler.cancel(id);
    m_posted.remove(id);
    id = 0;
}

// ---------------------------------------------------------------------------------------------------------
// Launch and menu actions

void AppDelegate::applicationDidFinishLaunching()
{
    // 1. No taskbar entry and no main window: the panel is a tool window that skips taskbar and pager.
    // 2. The panel and its views.
    m_reduceMotion = std::make_unique<ReduceMotionSetting>();
    m_panel = std::make_unique<NotchPanel>(*m_inbox, m_reduceMotion.get());
    connect(m_panel.get(), &NotchPanel::presentedSizeChanged, this, &AppDelegate::presentedSizeChanged);
    connect(m_panel.get(), &NotchPanel::pointerActivity, this, &AppDelegate::scheduleHoverRefresh);
    connect(m_panel.get(), &NotchPanel::exitCommand, this, [this] { m_panel->resignKey(); });
    connect(m_panel.get(), &NotchPanel::menuRequested, this, &AppDelegate::showMenu);

    // The panel's own menus hold hover and outside clicks like the status menu does.
    connect(&PanelMenu::activity(), &PanelMenu::Activity::began, this, &AppDelegate::menuBegan);
    connect(&PanelMenu::activity(), &PanelMenu::Activity::ended, this, &AppDelegate::menuEnded);
    // 3. Model changes that matter to hover re-evaluate it, coalesced.
    QPointer<AppDelegate> self(this);
    m_inbox->setOnHoverStateChange([self] {
        if (self)
            self->scheduleHoverRefresh();
    });
    // Arrivals while the surface is collapsed also reach the desktop's notifications, when asked for.
    if (m_options.arguments.contains(notifySwitch)) {
        m_notifier = std::make_unique<DesktopNotifier>(
            m_options.notificationBus.value_or(QDBusConnection::sessionBus()));
        connect(m_notifier.get(), &DesktopNotifier::activated, this, &AppDelegate::openMessage);
        m_inbox->setOnArrival([self] {
            if (self)
                self->notifyArrival();
        });
    }
    // 4.
    m_inbox->startSync();
    // 5.
    if (m_options.systemMonitors) {
        m_wakeMonitor = std::make_unique<WakeMonitor>();
        connect(m_wakeMonitor.get(), &WakeMonitor::woke, this, &AppDelegate::wakeSync);
    }
    // 6. The demo starts open and held open, and one message arrives in the team inbox a little later.
    if (!m_inbox->live()) {
        if (m_options.arguments.contains(visualizationDemoSwitch)) {
            const Message sample = DemoSamples::instance().visualizationSample();
            QList<Message> messages = m_inbox->messages();
            messages.insert(0, sample);
            m_inbox->setMessages(std::move(messages));
            m_inbox->select(sample);
        }
        m_inbox->setPinned(true);
        m_inbox->open();
        m_demoArrival = post(3, [this] {
            m_demoArrival = 0;
            m_inbox->simulate(InboxScope::demoTeamLaunch());
        });
    }
    // 7. Opening takes the keyboard.
    QPointer<NotchPanel> panel(m_panel.get());
    m_inbox->setOnOpen([panel] {
        if (panel)
            panel->makeKey();
    });
    // 8.
    positionPanel();
    m_panel->show();
    m_panel->raise();
    // 9-10.
    if (m_options.statusItem)
        createStatusItem();
    // Without a tray the panel is the only way in: its tab stays, and a right click on it gives the menu.
    m_inbox->setKeepsTab(m_options.statusItem && !m_statusItem);
    // 11. Screen changes move the panel.
    const auto watchScreen = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &AppDelegate::positionPanel);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen *screen) {
        watchScreen(screen);
        positionPanel();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { scheduleScreenChange(); });
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &AppDelegate::positionPanel);
    // 12. Global pointer activity, and full-screen windows.
    if (m_options.systemMonitors) {
        m_fullScreen = std::make_unique<X11FullScreenMonitor>();
        if (m_fullScreen->active())
            connect(m_fullScreen.get(), &X11FullScreenMonitor::changed, this, &AppDelegate::updateSuppression);
        else
            m_fullScreen.reset();
        m_pointerMonitor = std::make_unique<X11PointerMonitor>();
        if (m_pointerMonitor->active()) {
            connect(m_pointerMonitor.get(), &X11PointerMonitor::pointerMoved, this, &AppDelegate::pointerMoved);
            connect(m_pointerMonitor.get(), &X11PointerMonitor::buttonPressed, this, &AppDelegate::buttonPressed);
        } else {
            m_pointerMonitor.reset();
        }
    }
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
    // 13.
    updateHover();
}

void AppDelegate::scheduleScreenChange()
{
    // A removed screen is still listed while its signal runs.
    post(0, [this] { positionPanel(); });
}

TrayMenu *AppDelegate::ensureMenu()
{
    if (m_menu)
        return m_menu.get();
    m_menu = std::make_unique<TrayMenu>(!m_inbox->live());
    attachMenu(*m_menu);
    return m_menu.get();
}

void AppDelegate::createStatusItem()
{
    // Without a tray the application works through the panel alone.
    const bool tray = m_options.trayAvailable ? m_options.trayAvailable() : QSystemTrayIcon::isSystemTrayAvailable();
    if (!tray)
        return;
    ensureMenu();
    m_statusItem = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/social-inbox.svg")));
    m_statusItem->setToolTip(tr("Tandrel"));
    m_statusItem->setContextMenu(m_menu.get());
    connect(m_statusItem.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A plain click opens the menu too, as the context click does.
        if (reason == QSystemTrayIcon::Trigger && m_menu && !m_menu->isVisible())
            m_menu->popup(QCursor::pos());
    });
    m_statusItem->show();
}

void AppDelegate::showMenu(QPoint globalPosition)
{
    TrayMenu *menu = ensureMenu();
    if (!menu->isVisible())
        menu->popup(globalPosition);
}

void AppDelegate::openPanel()
{
    openInbox(false);
}

void AppDelegate::togglePanel()
{
    if (!m_inbox->expanded()) {
        openPanel();
        return;
    }
    m_inbox->close();
    if (m_panel)
        m_panel->resignKey();
    updateHover();
}

void AppDelegate::attachMenu(TrayMenu &menu)
{
    connect(&menu, &TrayMenu::openInboxRequested, this, &AppDelegate::openInbox);
    connect(&menu, &TrayMenu::simulateRequested, this, &AppDelegate::simulate);
    connect(&menu, &TrayMenu::startAtLoginRequested, this, &AppDelegate::setStartAtLogin);
    connect(&menu, &TrayMenu::quitRequested, this, &AppDelegate::quit);
    m_menus.append(&menu);
    QPointer<TrayMenu> guarded(&menu);
    connect(&menu, &QMenu::aboutToShow, this, [this, guarded] {
        // The entry may have changed outside the application since the menu last opened.
        if (guarded)
            guarded->startAtLoginAction()->setChecked(m_autostart->enabled());
        menuBegan();
    });
    connect(&menu, &QMenu::aboutToHide, this, &AppDelegate::menuEnded);
}

void AppDelegate::setStartAtLogin(bool on)
{
    const std::optional<QString> error = m_autostart->setEnabled(on);
    if (error) {
        m_inbox->setActionError(error);
    } else if (m_autostartError && m_inbox->actionError() == m_autostartError) {
        m_inbox->setActionError(std::nullopt);
    }
    m_autostartError = error;
    const bool enabled = m_autostart->enabled();
    m_menus.removeAll(nullptr);
    for (const QPointer<TrayMenu> &menu : std::as_const(m_menus))
        menu->startAtLoginAction()->setChecked(enabled);
}

void AppDelegate::notifyArrival()
{
    if (!m_notifier || m_inbox->expanded() || !m_inbox->latestArrivalID())
        return;
    const QUuid id = *m_inbox->latestArrivalID();
    for (const Message &message : m_inbox->messages()) {
        if (message.id == id) {
            m_notifier->notify(message.sender, message.subject, Message::canonical(id));
            return;
        }
    }
}

void AppDelegate::openMessage(const QString &id)
{
    const QUuid uuid = QUuid::fromString(id);
    const auto found = std::find_if(m_inbox->messages().cbegin(), m_inbox->messages().cend(),
                                    [&](const Message &message) { return message.id == uuid; });
    if (found != m_inbox->messages().cend() && found->scope != m_inbox->scope()) {
        const InboxScope scope = found->scope;
        m_inbox->switchScope(scope);
    }
    // A message replacing the one on show cross-fades with it.
    const bool another = m_inbox->expanded() && m_inbox->hasSelection() && m_inbox->selectedID() != uuid;
    if (another && m_panel && m_panel->rootView())
        QMetaObject::invokeMethod(m_panel->rootView(), "holdReader");
    openInbox(false);
    m_inbox->selectMessage(id);
}

void AppDelegate::openInbox(bool fromKeyboard)
{
    const auto change = [this] {
        m_inbox->setPinned(true);
        m_inbox->open();
    };
    if (fromKeyboard && m_panel)
        m_panel->runFromKeyboard(change);
    else
        change();
    if (m_panel) {
        m_panel->show();
        m_panel->raise();
    }
}

void AppDelegate::simulate()
{
    m_inbox->simulate(m_inbox->scope().isPersonal() ? InboxScope::demoTeamLaunch() : InboxScope::personal());
}

void AppDelegate::quit()
{
    if (!applicationShouldTerminate())
        return;
    if (m_options.terminate)
        m_options.terminate();
    else
        QCoreApplication::quit();
}

void AppDelegate::wakeSync()
{
    if (!m_inbox->live())
        return;
    post(0, [this] {
        m_inbox->refresh();
        m_inbox->renewSync();
    });
}

bool AppDelegate::applicationShouldTerminate()
{
    const bool sending = m_inbox->hasSendingReplies();
    if (!m_inbox->hasUnsentDrafts() && !sending)
        return true;
    const auto run = [this](const QuitAlert &alert) {
        return m_options.runAlert ? m_options.runAlert(alert) : QuitAlertBox::run(alert);
    };
    if (sending) {
        run({tr("A reply is still sending"),
             tr("Wait for sending to finish before turning off the Notch. Your reply will stay open."),
             {tr("Keep Notch Open")},
             0});
        return false;
    }
    const int chosen = run({tr("Discard unsent drafts and quit?"),
                            tr("Your unsent Notch replies will be lost. Choose Keep Editing to leave the "
                               "Notch enabled."),
                            {tr("Keep Editing"), tr("Discard Drafts and Quit")},
                            0});
    return chosen == 1;
}

bool AppDelegate::sessionMayEnd(const std::function<bool()> &allowsInteraction)
{
    if (!m_inbox->hasUnsentDrafts() && !m_inbox->hasSendingReplies())
        return true;
    if (!allowsInteraction())
        return true;
    return applicationShouldTerminate();
}

void AppDelegate::applicationWillTerminate()
{
    if (m_terminated)
        return;
    m_terminated = true;
    m_wakeMonitor.reset();
    cancel(m_hoverTimer);
    cancel(m_pointerTimer);
    m_pointerMonitor.reset();
    m_fullScreen.reset();
    if (qGuiApp)
        disconnect(qGuiApp, nullptr, this, nullptr);
    for (QScreen *screen : QGuiApplication::screens())
        disconnect(screen, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Placement, hover and outside clicks

QPointF AppDelegate::pointer() const
{
    return m_options.pointerLocation ? m_options.pointerLocation() : QPointF(QCursor::pos());
}

QScreen *AppDelegate::panelScreen() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (!m_options.screenName.isEmpty()) {
        for (QScreen *screen : screens) {
            if (screen->name() == m_options.screenName)
                return screen;
        }
    }
    QScreen *primary = QGuiApplication::primaryScreen();
    if (primary && screens.contains(primary))
        return primary;
    return screens.value(0);
}

void AppDelegate::positionPanel()
{
    // No screen of this platform reports a camera notch: the chosen screen (by default the primary one) is
    // notched only when the command line gives the notch's size.
    QScreen *screen = panelScreen();
    if (!screen || !m_panel)
        return;
    const QRect frame = screen->geometry();
    NotchMetrics metrics;
    if (m_options.notch) {
        const double centre = QRectF(frame).center().x();
        const double half = m_options.notch->width() / 2;
        metrics = NotchGeometry::metrics(m_options.notch->height(), centre - half, centre + half, QRectF(frame));
    } else {
        metrics = NotchGeometry::metrics(0, std::nullopt, std::nullopt, QRectF(frame));
    }
    m_inbox->setHasNotch(metrics.hasNotch);
    m_inbox->setTopInset(metrics.topInset);
    m_inbox->setNotchWidth(metrics.notchWidth);
    m_presentedSize = m_inbox->presentation().size;
    if (m_panel->screen() != screen)
        m_panel->setScreen(screen);
    m_panel->setPosition(int(std::lround(metrics.centreX - m_panel->width() * 0.5)), frame.top());
    updateSuppression();
    scheduleHoverRefresh();
}

void AppDelegate::updateSuppression()
{
    // A full-screen window on the panel's screen has the screen to itself while the surface is collapsed;
    // an open card (from the menu, or a request) shows over it.
    bool covered = false;
    if (m_fullScreen && m_panel) {
        if (const std::optional<QRect> area = m_fullScreen->fullScreenArea()) {
            QScreen *screen = m_panel->screen();
            const QRect logical = screen ? screen->geometry() : QRect();
            const double ratio = screen ? screen->devicePixelRatio() : 1;
            const QRect native(QPoint(int(logical.x() * ratio), int(logical.y() * ratio)), logical.size() * ratio);
            covered = native.contains(area->center());
        }
    }
    m_suppressed = covered && !m_inbox->expanded();
    applyInputRegion();
}

QSizeF AppDelegate::hitSize() const
{
    return m_suppressed ? QSizeF(0, 0) : m_presentedSize;
}

bool AppDelegate::pointerInsidePresentedSurface(std::optional<QPointF> point) const
{
    if (!m_panel)
        return false;
    const QRect frame = m_panel->geometry();
    return NotchHitTest::pointerInsidePresentedSurface(hitSize(), frame.x() + frame.width() / 2.0, frame.y(),
                                                       point.value_or(pointer()), m_inbox->expanded());
}

void AppDelegate::applyInputRegion()
{
    if (!m_panel)
        return;
    const bool expanded = m_inbox->expanded();
    const NotchSurfaceStyle style = NotchSurfaceStyle::of(expanded, m_inbox->hasNotch());
    m_panel->setSuppressed(m_suppressed);
    m_panel->setPresentedRegion(m_presentedSize, NotchHitTest::margin(expanded), style.topCornerRadius,
                                style.bottomCornerRadius);
}

void AppDelegate::updateHover()
{
    cancel(m_hoverTimer);
    if (!m_menuTracking && m_panel) {
        const HoverMachine::Actions actions = m_hover.update({.inside = pointerInsidePresentedSurface(),
                                                              .now = m_scheduler.now(),
                                                              .expanded = m_inbox->expanded(),
                                                              .pinned = m_inbox->pinned(),
                                                              .arrival = m_inbox->arrival(),
                                                              .menuTracking = m_menuTracking});
        if (actions.evaluated) {
            // Where the pointer may reach the panel: on X11 the input region, which follows the surface.
            updateSuppression();
            if (actions.expand)
                m_inbox->setExpanded(true);
            if (actions.close)
                m_inbox->close();
            if (actions.recheckAfter) {
                m_hoverTimer = post(*actions.recheckAfter, [this] {
                    m_hoverTimer = 0;
                    updateHover();
                });
            }
        }
    }
    updateMotionSelection();
}

void AppDelegate::scheduleHoverRefresh()
{
    if (m_hoverRefreshPending)
        return;
    m_hoverRefreshPending = true;
    m_hoverRefresh = post(0, [this] {
        m_hoverRefresh = 0;
        m_hoverRefreshPending = false;
        updateHover();
    });
}

void AppDelegate::updateMotionSelection()
{
    // The pointer's position matters only while the surface is open or an exit is pending.
    if (m_pointerMonitor)
        m_pointerMonitor->setMotionEnabled(!m_terminated && (m_inbox->expanded() || m_hoverTimer != 0));
}

void AppDelegate::pointerMoved()
{
    if (m_pointerTimer)
        return; // an evaluation is due already
    const double now = m_scheduler.now();
    const double wait = m_lastPointerCheck < 0 ? 0 : m_lastPointerCheck + pointerInterval - now;
    if (wait <= 0) {
        m_lastPointerCheck = now;
        updateHover();
        return;
    }
    m_pointerTimer = post(wait, [this] {
        m_pointerTimer = 0;
        m_lastPointerCheck = m_scheduler.now();
        updateHover();
    });
}

void AppDelegate::buttonPressed(int button)
{
    if (button >= 4 && button <= 7)
        return; // wheel steps
    const QPointF at = pointer();
    // Presses on the application's own status item and menu belong to them.
    if (m_menu && m_menu->isVisible() && m_menu->geometry().contains(at.toPoint()))
        return;
    if (m_statusItem && m_statusItem->geometry().contains(at.toPoint()))
        return;
    const Qt::MouseButton qtButton = mouseButton(button);
    dismissOnOutsideClick(qtButton, m_clicks.press(qtButton, m_scheduler.now(), at));
}

void AppDelegate::dismissOnOutsideClick(Qt::MouseButton button, int clickCount)
{
    if (!m_panel)
        return;
    const QRect frame = m_panel->geometry();
    const bool onSurface =
        NotchHitTest::pointerOnSurface(m_presentedSize, frame.x() + frame.width() / 2.0, frame.y(), pointer());
    if (!OutsideClick::isDismissalCandidate(m_menuTracking, m_inbox->expanded(), onSurface))
        return;
    if (m_inbox->closeFromOutsideClick(OutsideClick::dismissalClickCount(button, clickCount))) {
        m_panel->resignKey();
        updateHover();
    }
}

void AppDelegate::presentedSizeChanged(QSizeF size)
{
    m_presentedSize = size;
    if (!m_menuTracking)
        applyInputRegion();
    scheduleHoverRefresh();
}

void AppDelegate::menuBegan()
{
    m_menuTracking = true;
    cancel(m_hoverTimer);
}

void AppDelegate::menuEnded()
{
    m_menuTracking = false;
    updateHover();
}
