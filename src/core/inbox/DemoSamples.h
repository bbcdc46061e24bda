#pragma once

#include "records/Message.h"

#include <QList>

// The fictional data of the demo inbox. Personal samples, the visualization sample and the arrival templates
// are made once per run; the team samples get fresh ids on every read of samples().
class DemoSamples
{
public:
    static const DemoSamples &instance();

    // The personal samples (with per-index sender and conversation ids), then the five team and review samples.
    QList<Message> samples() const;
    const QList<Message> &personalSamples() const { return m_personal; }
    const Message &visualizationSample() const { return m_visualization; }
    // The two arrival templates, used alternately.
    const QList<Message> &arrivals() const { return m_arrivals; }
    // The simulated arrival number `index` in `scope` (from the templates in turn), with a fresh id.
    Message arrival(int index, const InboxScope &scope) const;
    // Whether a sample of the demo team carries the label (the labels a team message may be given).
    bool offersTeamLabel(const QString &label) const;

private:
    DemoSamples();

    QList<Message> m_personal;
    Message m_visualization;
    QList<Message> m_arrivals;
};
