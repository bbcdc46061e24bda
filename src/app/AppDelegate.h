#pragma once

#include "inbox/Inbox.h"
#include "liveinbox/Scheduler.h"
#include "notch/ClickCounter.h"
#include "notch/HoverMachine.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class AutostartEntry;
class DesktopNotifier;
class NotchPanel;
class QSystemTrayIcon;
class QtTextMeasurer;
class ReduceMotionSetting;
class TrayMenu;
class QScreen;
class WakeMonitor;
class X11FullScreenMonitor;
class X11PointerMonitor;

// The application: builds the one inbox (live, or demo with "--demo"), the panel with its views, the status
// item and its menu, and the platform observers; evaluates hover and outside clicks; re-syncs after wake; and
// guards quitting while replies are unsent or still sending. Main thread only.
class AppDelegate final : public QObject
{
    Q_OBJECT
public:
    // A modal warning with ordered buttons; the runner returns the index of the chosen button.
    struct QuitAlert
    {
        QString text;
        QString informativeText;
        QStringList buttons;
        int defaultButton = 0;
    };

    struct Options
    {
        // The process arguments; switches match whole arguments anywhere in the list.
        QStringList arguments;
        // Every delay goes through it; it must outlive the delegate.
        Scheduler *scheduler = nullptr;
        // Services of a live inbox; absent means the real ones (the service's tool, the sync sockets).
        std::function<InboxServices(Scheduler &)> liveServices;
        // The status item (only where the desktop has a tray).
        bool statusItem = true;
        // Whether the desktop has a tray; absent means asking the platform. Without one (and a status item
        // asked for) the collapsed surface keeps its tab, so the panel and its menu stay reachable.
        std::function<bool()> trayAvailable;
        // Global pointer monitoring, full-screen windows and wake notifications.
        bool systemMonitors = true;
        // The screen to sit on, by name; empty (or gone) means the primary screen.
        QString screenName;
        // Notch width and height in points: the screen counts as notched, the notch centred at its top.
        std::optional<QSizeF> notch;
        // The pointer position in screen coordinates; absent means the real cursor.
        std::function<QPointF()> pointerLocation;
        // Shows a quit alert; absent means a modal message box.
        std::function<int(const QuitAlert &)> runAlert;
        // Leaves the event loop; absent means QCoreApplication::quit().
        std::function<void()> terminate;
        // The bus of the desktop's notification service ("--notify"); absent means the session bus.
        std::optional<QDBusConnection> notificationBus;
        // Where the autostart entry goes; empty means `$XDG_CONFIG_HOME/autostart`.
        QString autostartDirectory;
    };

    static inline const QString demoSwitch = QStringLiteral("--demo");
    static inline const QString visualizationDemoSwitch = QStringLiteral("--visualization-demo");
    static inline const QString notifySwitch = QStringLiteral("--notify");
    // Seconds between two pointer evaluations driven by raw motion.
    static constexpr double pointerInterval = 0.016;

    explicit AppDelegate(Options options, QObject *parent = nullptr);
    ~AppDelegate() override;

    // The launch sequence.
    void applicationDidFinishLaunching();
    // Menu actions.
    void openInbox(bool fromKeyboard);
    // For requests from outside (another start, a desktop shortcut): opens the panel pinned, or toggles it
    // between that and collapsed.
    void openPanel();
    void togglePanel();
    // Pops the application menu (the status item's) up at a point of the screen.
    void showMenu(QPoint globalPosition);
    void simulate();
    void quit();
    void wakeSync();
    // "Start at login": writes or removes the autostart entry; a failure shows in the inbox's action error.
    void setStartAtLogin(bool on);
    // Opens the panel on one message (canonical id), in its own inbox; just opens it when the message is gone.
    void openMessage(const QString &id);
    // Connects a menu's items to their actions and keeps its "Start at login" check true to the entry.
    void attachMenu(TrayMenu &menu);
    // The quit guard: true to terminate now, false to cancel.
    bool applicationShouldTerminate();
    // The session is ending (logout): false cancels it. The guard's alerts run only when something would be
    // lost and `allowsInteraction` (asked only then) grants it; without leave to ask, the session ends.
    bool sessionMayEnd(const std::function<bool()> &allowsInteraction);
    void applicationWillTerminate();

    // Placement, hover and outside clicks.
    void positionPanel();
    void updateHover();
    void scheduleHoverRefresh();
    bool pointerInsidePresentedSurface(std::optional<QPointF> point = std::nullopt) const;
    // A press of `button` (X numbering: 1 left, 2 middle, 3 right, 8 and up extra; 4 to 7 are wheel steps).
    void buttonPressed(int button);
    void dismissOnOutsideClick(Qt::MouseButton button, int clickCount);
    void presentedSizeChanged(QSizeF size);
    void menuBegan();
    void menuEnded();
    // The screen the panel sits on, if any.
    QScreen *panelScreen() const;
    // The surface keeps out of the way of a full-screen window (collapsed only).
    bool surfaceSuppressed() const { return m_suppressed; }

    // Builds the services of a live inbox: four tool lanes, the sync sockets, threaded snapshot decoding and
    // the desktop's browser.
    static InboxServices liveServices(Scheduler &scheduler);

    Inbox &inbox() const { return *m_inbox; }
    NotchPanel *panel() const { return m_panel.get(); }
    QSystemTrayIcon *statusItem() const { return m_statusItem.get(); }
    // The application menu: the status item's, and the bar's right-click menu (created on first use where
    // there is no tray).
    TrayMenu *menu() const { return m_menu.get(); }
    TrayMenu *ensureMenu();
    X11PointerMonitor *pointerMonitor() const { return m_pointerMonitor.get(); }
    WakeMonitor *wakeMonitor() const { return m_wakeMonitor.get(); }
    const AutostartEntry &autostart() const { return *m_autostart; }
    DesktopNotifier *notifier() const { return m_notifier.get(); }
    const HoverIntent &hoverIntent() const { return m_hover.intent(); }
    bool menuTracking() const { return m_menuTracking; }
    QSizeF presentedSize() const { return m_presentedSize; }
    bool hoverTimerPending() const { return m_hoverTimer != 0; }

private:
    QPointF pointer() const;
    Scheduler::TimerId post(double seconds, std::function<void()> task);
    void cancel(Scheduler::TimerId &id);
    void pointerMoved();
    void updateMotionSelection();
    void applyInputRegion();
    void createStatusItem();
    void updateSuppression();
    QSizeF hitSize() const;
    void scheduleScreenChange();
    void notifyArrival();

    Options m_options;
    Scheduler &m_scheduler;
    std::unique_ptr<QtTextMeasurer> m_textMeasurer;
    std::unique_ptr<Inbox> m_inbox;
    std::unique_ptr<ReduceMotionSetting> m_reduceMotion;
    std::unique_ptr<NotchPanel> m_panel;
    std::unique_ptr<TrayMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_statusItem;
    Scheduler::TimerId m_hoverTimer = 0;
    HoverMachine m_hover;
    std::unique_ptr<X11PointerMonitor> m_pointerMonitor;
    std::unique_ptr<X11FullScreenMonitor> m_fullScreen;
    bool m_suppressed = false;
    std::unique_ptr<WakeMonitor> m_wakeMonitor;
    std::unique_ptr<AutostartEntry> m_autostart;
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::optional<QString> m_autostartError; // the last failure shown, cleared by the next success
    QList<QPointer<TrayMenu>> m_menus;       // every menu with a "Start at login" item
    bool m_menuTracking = false;
    bool m_hoverRefreshPending = false;
    QSizeF m_presentedSize;
    ClickCounter m_clicks;
    Scheduler::TimerId m_hoverRefresh = 0;
    Scheduler::TimerId m_demoArrival = 0;
    Scheduler::TimerId m_pointerTimer = 0;
    double m_lastPointerCheck = -1;
    bool m_terminated = false;
    QSet<Scheduler::TimerId> m_posted; // tasks that still hold `this`
};
