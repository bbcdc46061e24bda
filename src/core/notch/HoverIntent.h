#pragma once

#include <optional>

// What the hover logic remembers about the pointer between two evaluations. Times are seconds on
// a monotonic clock.
struct HoverIntent
{
    // The pointer was over the surface at the last evaluation.
    bool wasInside = false;
    // When the pointer last entered the surface; absent while it is outside.
    std::optional<double> enteredAt;
    // When the pointer last left the surface; absent while it is inside.
    std::optional<double> exitedAt;
    // The pointer dwelt on the open surface long enough to earn the longer exit delay.
    bool engaged = false;

    friend bool operator==(const HoverIntent &, const HoverIntent &) = default;
};
