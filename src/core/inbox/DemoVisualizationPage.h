#pragma once

#include <QString>

// The self-contained interactive HTML page attached to the demo's visualization message.
class DemoVisualizationPage
{
public:
    static QString html();
    // The attachment fence that carries the page as "team-pulse.html", ready to append to a body.
    static QString fence();
};
