#pragma once

// An sRGB colour with opacity, each component 0 to 1.
struct MessageColor
{
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    // The toolkit's standard named colours used by the demo data.
    static constexpr MessageColor pink() { return {1.0, 0.176, 0.333, 1.0}; }
    static constexpr MessageColor orange() { return {1.0, 0.584, 0.0, 1.0}; }
    static constexpr MessageColor purple() { return {0.686, 0.322, 0.871, 1.0}; }
    // The colour of every service message.
    static constexpr MessageColor service() { return {0.68, 0.75, 1.0, 1.0}; }

    friend bool operator==(const MessageColor &, const MessageColor &) = default;
};
