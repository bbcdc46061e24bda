#include "HoverMachine.h"

#include <algorithm>

HoverMachine::Actions HoverMachine::update(const Input &input)
{
    Actions actions;
    if (input.menuTracking)
        return actions;
    actions.evaluated = true;
    actions.mouseTransparent = !input.inside;

    HoverIntent &intent = m_intent;
    const double now = input.now;
    bool expanded = input.expanded;
    bool pinned = input.pinned;
    const auto dweltLongEnough = [&] { return intent.enteredAt && now - *intent.enteredAt >= engagementDwell; };

    if (input.expanded && input.inside) {
        intent.exitedAt.reset();
        if (intent.wasInside) {
            if (dweltLongEnough())
                intent.engaged = true;
        } else {
            intent.enteredAt = now;
            intent.wasInside = true;
        }
    } else if (input.expanded) {
        // A long visit that ended between two evaluations still counts.
        if (dweltLongEnough())
            intent.engaged = true;
        intent.enteredAt.reset();
        if (!intent.exitedAt)
            intent.exitedAt = now;
        if (input.pinned || input.arrival) {
            intent.wasInside = false;
        } else if (now - *intent.exitedAt >= (intent.engaged ? engagedExitDelay : exitDelay)) {
            intent.engaged = false;
            intent.wasInside = false;
            actions.close = true;
            // close() also releases the pin.
            expanded = false;
            pinned = false;
        } else {
            intent.wasInside = false;
        }
    } else {
        intent.engaged = false;
        if (!input.inside) {
            intent.enteredAt.reset();
            if (!intent.exitedAt)
                intent.exitedAt = now;
            intent.wasInside = false;
        } else if (intent.wasInside) {
            intent.exitedAt.reset();
        } else {
            intent.exitedAt.reset();
            intent.enteredAt = now;
            intent.wasInside = true;
            actions.expand = true;
            expanded = true;
        }
    }

    if (!intent.wasInside && expanded && !pinned && !input.arrival && intent.exitedAt) {
        const double delay = intent.engaged ? engagedExitDelay : exitDelay;
        actions.recheckAfter = std::max(*intent.exitedAt + delay - now, minimumRecheckInterval);
    }
    return actions;
}
