#include "AppDelegate.h"

#include "NotchPanel.h"
#include "QtTextMeasurer.h"
#include "ReduceMotionSetting.h"
#include "TrayMenu.h"
#include "WakeMonitor.h"
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
#include <QMessageBox>
#include <QPushButton>
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

int runMessageBox(const AppDelegate::QuitAlert &alert)
{
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(alert.text);
    box.setInformativeText(alert.informativeText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QList<QPushButton *> buttons;
    for (qsizetype i = 0; i < alert.buttons.size(); ++i) {
        const QMessageBox::ButtonRole role = alert.buttons.size() == 1 ? QMessageBox::AcceptRole
                                             : i == 0                  ? QMessageBox::RejectRole
                                                                       : QMessageBox::DestructiveRole;
        buttons.append(box.addButton(alert.buttons.at(i), role));
    }
    if (buttons.isEmpty())
        return 0;
    box.setDefaultButton(buttons.value(alert.defaultButton, buttons.first()));
    box.setEscapeButton(buttons.first());
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    const qsizetype chosen = buttons.indexOf(static_cast<QPushButton *>(box.clickedButton()));
    return chosen < 0 ? alert.defaultButton : int(chosen);
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
}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    m_inbox->setOnHoverStateChange({});
    m_inbox->setOnOpen({});
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

    // The panel's own menus hold hover and outside clicks like the status menu does.
    connect(&PanelMenu::activity(), &PanelMenu::Activity::began, this, &AppDelegate::menuBegan);
    connect(&PanelMenu::activity(), &PanelMenu::Activity::ended, this, &AppDelegate::menuEnded);
    // 3. Model changes that matter to hover re-evaluate it, coalesced.
    QPointer<AppDelegate> self(this);
    m_inbox->setOnHoverStateChange([self] {
        if (self)
            self->scheduleHoverRefresh();
    });
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
    // 12. Global pointer activity.
    if (m_options.systemMonitors) {
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

void AppDelegate::createStatusItem()
{
    // Without a tray the application works through the panel alone (and loads no widget style for a menu).
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_menu = std::make_unique<TrayMenu>(!m_inbox->live());
    connect(m_menu.get(), &TrayMenu::openInboxRequested, this, &AppDelegate::openInbox);
    connect(m_menu.get(), &TrayMenu::simulateRequested, this, &AppDelegate::simulate);
    connect(m_menu.get(), &TrayMenu::quitRequested, this, &AppDelegate::quit);
    connect(m_menu.get(), &QMenu::aboutToShow, this, &AppDelegate::menuBegan);
    connect(m_menu.get(), &QMenu::aboutToHide, this, &AppDelegate::menuEnded);
    m_statusItem = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/social-inbox.svg")));
    m_statusItem->setToolTip(QStringLiteral("Tandrel"));
    m_statusItem->setContextMenu(m_menu.get());
    connect(m_statusItem.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A plain click opens the menu too, as the context click does.
        if (reason == QSystemTrayIcon::Trigger && m_menu && !m_menu->isVisible())
            m_menu->popup(QCursor::pos());
    });
    m_statusItem->show();
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
        return m_options.runAlert ? m_options.runAlert(alert) : runMessageBox(alert);
    };
    if (sending) {
        run({QStringLiteral("A reply is still sending"),
             QStringLiteral("Wait for sending to finish before turning off the Notch. Your reply will stay open."),
             {QStringLiteral("Keep Notch Open")},
             0});
        return false;
    }
    const int chosen = run({QStringLiteral("Discard unsent drafts and quit?"),
                            QStringLiteral("Your unsent Notch replies will be lost. Choose Keep Editing to leave the "
                                           "Notch enabled."),
                            {QStringLiteral("Keep Editing"), QStringLiteral("Discard Drafts and Quit")},
                            0});
    return chosen == 1;
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

void AppDelegate::positionPanel()
{
    // No screen of this platform reports a camera notch: the first screen (the primary one) it is.
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty() || !m_panel)
        return;
    QScreen *screen = screens.first();
    const QRect frame = screen->geometry();
    const NotchMetrics metrics = NotchGeometry::metrics(0, std::nullopt, std::nullopt, QRectF(frame));
    m_inbox->setHasNotch(metrics.hasNotch);
    m_inbox->setTopInset(metrics.topInset);
    m_inbox->setNotchWidth(metrics.notchWidth);
    m_presentedSize = m_inbox->presentation().size;
    if (m_panel->screen() != screen)
        m_panel->setScreen(screen);
    m_panel->setPosition(int(std::lround(metrics.centreX - m_panel->width() * 0.5)), frame.top());
    applyInputRegion();
    scheduleHoverRefresh();
}

bool AppDelegate::pointerInsidePresentedSurface(std::optional<QPointF> point) const
{
    if (!m_panel)
        return false;
    const QRect frame = m_panel->geometry();
    return NotchHitTest::pointerInsidePresentedSurface(m_presentedSize, frame.x() + frame.width() / 2.0, frame.y(),
                                                       point.value_or(pointer()), m_inbox->expanded());
}

void AppDelegate::applyInputRegion()
{
    if (!m_panel)
        return;
    const bool expanded = m_inbox->expanded();
    const NotchSurfaceStyle style = NotchSurfaceStyle::of(expanded, m_inbox->hasNotch());
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
            applyInputRegion();
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
