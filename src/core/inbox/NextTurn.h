#pragma once

#include <QObject>

#include <functional>

// A task that runs once on the next event-loop turn however often it was asked for meanwhile, so that a
// burst of changes costs one recomputation. Running it earlier by hand (after done()) drops the pending
// run. The task never outlives `context`.
class NextTurn
{
public:
    NextTurn(QObject *context, std::function<void()> task) : m_context(context), m_task(std::move(task)) {}

    void request()
    {
        if (m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(
            m_context,
            [this] {
                if (m_pending)
                    m_task();
            },
            Qt::QueuedConnection);
    }
    // The work was done now: the pending run is not needed.
    void done() { m_pending = false; }

private:
    QObject *m_context;
    std::function<void()> m_task;
    bool m_pending = false;
};
