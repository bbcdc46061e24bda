#include "DemoEdits.h"

#include "DemoSamples.h"

#include <algorithm>

bool DemoEdits::markRead(QList<Message> &messages, const QUuid &id)
{
    const auto it = std::find_if(messages.cbegin(), messages.cend(), [&](const Message &m) { return m.id == id; });
    if (it == messages.cend() || !it->unread)
        return false;
    messages[it - messages.cbegin()].unread = false;
    return true;
}

bool DemoEdits::setTeamLabel(QList<Message> &messages, const QString &label, const QUuid &id)
{
    const auto it = std::find_if(messages.cbegin(), messages.cend(), [&](const Message &m) {
        return m.id == id && m.scope == InboxScope::demoTeamLaunch();
    });
    if (it == messages.cend() || !DemoSamples::instance().offersTeamLabel(label))
        return false;
    messages[it - messages.cbegin()].category = label;
    return true;
}

QList<QUuid> DemoEdits::toggledFocus(QList<QUuid> order, const QUuid &id, bool focused)
{
    order.removeAll(id);
    if (!focused)
        order.prepend(id);
    return order;
}

QList<Message> DemoEdits::samplesIn(const InboxScope &scope)
{
    QList<Message> samples;
    for (const Message &sample : DemoSamples::instance().samples()) {
        if (sample.scope == scope)
            samples.append(sample);
    }
    return samples;
}
