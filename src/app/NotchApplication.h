#pragma once

#include "LaunchOptions.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class AppDelegate;
class Scheduler;
class SingleInstance;
class TerminationSignals;

// The entry point's work between the application object and its event loop: reads the command line, hands a
// second start over to the running instance (or claims the session-bus name), and launches the delegate
// with the session manager's logout and the termination signals wired to it.
class NotchApplication final : public QObject
{
    Q_OBJECT
public:
    // `scheduler` must outlive this object.
    NotchApplication(QStringList arguments, Scheduler &scheduler, QObject *parent = nullptr);
    ~NotchApplication() override;

    // An exit status to end with at once (after printing its one-line error), or nothing: run the event loop,
    // which either carries the launched application or waits for the running instance's answer and ends
    // with the status that goes with it.
    std::optional<int> start();

    // The launched application; null before launch and in a process that handed over.
    AppDelegate *delegate() const { return m_delegate.get(); }
    const LaunchOptions &options() const { return m_options; }

private:
    void launch(bool serving);
    void terminateOnSignal();

    QStringList m_arguments;
    Scheduler &m_scheduler;
    LaunchOptions m_options;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<TerminationSignals> m_signals;
};
