#include "NotchApplication.h"

#include "AppDelegate.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSessionManager>

#include <cstdio>

namespace {

void printError(const QString &error)
{
    std::fprintf(stderr, "tandrel-notch: %s\n", error.toLocal8Bit().constData());
}

} // namespace

NotchApplication::NotchApplication(QStringList arguments, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_arguments(std::move(arguments)), m_scheduler(scheduler)
{
}

NotchApplication::~NotchApplication()
{
    // The application (its tool processes and reply files) goes before the bus name.
    m_delegate.reset();
    m_signals.reset();
    m_instance.reset();
}

std::optional<int> NotchApplication::start()
{
    m_options = LaunchOptions::parse(m_arguments);
    if (!m_options.error.isEmpty()) {
        printError(m_options.error);
        return 2;
    }
    if (m_options.help || m_options.version) {
        const QString text = m_options.help ? LaunchOptions::helpText() : LaunchOptions::versionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!m_options.screenName.isEmpty()) {
        QStringList names;
        for (const QScreen *screen : QGuiApplication::screens())
            names.append(screen->name());
        if (!names.contains(m_options.screenName)) {
            printError(tr("There is no screen named \"%1\"; the screens are: %2.")
                           .arg(m_options.screenName, names.isEmpty() ? tr("none") : names.join(u", ")));
            return 2;
        }
    }

    m_instance = std::make_unique<SingleInstance>(m_options.mode());
    switch (m_instance->claim()) {
    case SingleInstance::Claim::running:
        m_instance.reset();
        SingleInstance::handOver(m_options.command, m_options.mode(), [](int status, const QString &error) {
            if (status != 0)
                printError(error);
            QCoreApplication::exit(status);
        });
        return std::nullopt;
    case SingleInstance::Claim::unavailable:
        m_instance.reset();
        if (m_options.command != LaunchOptions::Command::none) {
            printError(tr("%1 needs the session bus to reach the running panel, and there is none.")
                           .arg(m_options.command == LaunchOptions::Command::open ? QStringLiteral("--open")
                                                                                  : QStringLiteral("--toggle")));
            return 1;
        }
        launch(false);
        return std::nullopt;
    case SingleInstance::Claim::claimed:
        launch(true);
        return std::nullopt;
    }
    return std::nullopt;
}

void NotchApplication::launch(bool serving)
{
    AppDelegate::Options options;
    options.arguments = m_options.applicationArguments(m_arguments.value(0));
    options.scheduler = &m_scheduler;
    options.screenName = m_options.screenName;
    options.notch = m_options.notch;
    m_delegate = std::make_unique<AppDelegate>(std::move(options));
    m_delegate->applicationDidFinishLaunching();
    // A start by --open or --toggle begins open.
    if (m_options.command != LaunchOptions::Command::none)
        m_delegate->openPanel();

    if (serving) {
        connect(m_instance.get(), &SingleInstance::openRequested, m_delegate.get(), &AppDelegate::openPanel);
        connect(m_instance.get(), &SingleInstance::toggleRequested, m_delegate.get(), &AppDelegate::togglePanel);
    }

    // Logout asks through the quit guard when the session manager lets the application interact, and the
    // answer "keep editing" cancels it. The session restarts the application through its autostart entry
    // (if the user keeps one), never from a saved state.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        if (!m_delegate)
            return;
        bool asked = false;
        const bool mayEnd = m_delegate->sessionMayEnd([&manager, &asked] { return asked = manager.allowsInteraction(); });
        if (!mayEnd)
            manager.cancel();
        if (asked)
            manager.release();
    });
    connect(qGuiApp, &QGuiApplication::saveStateRequest, this,
            [](QSessionManager &manager) { manager.setRestartHint(QSessionManager::RestartNever); });

    m_signals = std::make_unique<TerminationSignals>();
    connect(m_signals.get(), &TerminationSignals::received, this, &NotchApplication::terminateOnSignal);
}

void NotchApplication::terminateOnSignal()
{
    // The event loop ends; tearing the application down stops its tool processes and removes the reply
    // files, and the process exits with status 0.
    QCoreApplication::exit(0);
}
