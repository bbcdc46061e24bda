#pragma once

#include "HoverIntent.h"

#include <optional>

// Hover intent of the notch surface: hovering the collapsed surface opens it at once; leaving the
// open surface closes it after a short delay, a longer one after a real visit. The machine only
// decides; the shell carries out the returned actions and owns the re-check timer.
//
// The shell calls update() on every pointer move or click anywhere, after every model change that
// matters (coalesced) and when the re-check it was asked for falls due. Before each call it drops
// any pending re-check: each evaluation replaces it.
class HoverMachine
{
public:
    // Time inside the open surface after which leaving it takes the longer delay.
    static constexpr double engagementDwell = 0.65;
    static constexpr double exitDelay = 0.12;
    static constexpr double engagedExitDelay = 0.5;
    static constexpr double minimumRecheckInterval = 0.001;

    struct Input
    {
        // The pointer is over the presented surface (NotchHitTest::pointerInsidePresentedSurface).
        bool inside = false;
        // Monotonic clock, seconds.
        double now = 0;
        bool expanded = false;
        bool pinned = false;
        // A new-message indication is showing.
        bool arrival = false;
        // A menu is open: hover is frozen until it closes.
        bool menuTracking = false;
    };

    struct Actions
    {
        // False when the evaluation was skipped (a menu is open); then nothing below applies.
        bool evaluated = false;
        // The panel must let pointer events through to the windows below.
        bool mouseTransparent = false;
        // Set the inbox's `expanded` to true.
        bool expand = false;
        // Call the inbox's close().
        bool close = false;
        // Schedule update() again after this many seconds.
        std::optional<double> recheckAfter;

        friend bool operator==(const Actions &, const Actions &) = default;
    };

    Actions update(const Input &input);

    const HoverIntent &intent() const { return m_intent; }

private:
    HoverIntent m_intent;
};
