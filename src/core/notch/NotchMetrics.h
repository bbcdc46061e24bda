#pragma once

// The notch of one screen, as the panel placement measures it.
struct NotchMetrics
{
    bool hasNotch = false;
    // Height of the menu-bar band the surface covers.
    double topInset = 24;
    double notchWidth = 140;
    // Horizontal centre of the notch in screen coordinates.
    double centreX = 0;

    friend bool operator==(const NotchMetrics &, const NotchMetrics &) = default;
};
