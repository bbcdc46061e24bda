#pragma once

#include "notch/NotchPresentation.h"

#include <QSizeF>

#include <optional>

class Inbox;
class TextMeasurer;

// The surface geometry of the inbox's panel in the inbox's current state: its phase and size, collapsed or
// open, and the reader size of the selected message (estimated once, until the list, the selection or the
// text measurement changes).
class PanelGeometry
{
public:
    explicit PanelGeometry(Inbox &inbox) : m_inbox(inbox) {}

    NotchPresentation presentation();
    // Width of the collapsed surface (0: no surface at all).
    double compactWidth() const;
    // Size of the open card's content.
    double contentWidth();
    double contentHeight();
    // Height of the surface, collapsed or open.
    double height();
    // Whether the selected message can switch between its full and short reader form.
    bool canResizeReader();

    // The reader size of the selected message: the cached estimate, measured when absent.
    QSizeF readerSize();
    // The estimate itself, uncached (the standard card with no selection).
    QSizeF measureReaderSize();
    const std::optional<QSizeF> &cachedReaderSize() const { return m_cachedReaderSize; }
    void dropReaderSize() { m_cachedReaderSize.reset(); }
    // Text measurement for the estimate (not owned); without one every message fits the standard card.
    // Returns whether it changed.
    bool setTextMeasurer(const TextMeasurer *measurer);

    // Re-reads every value; returns whether any differs from those read last time.
    bool update();

private:
    struct Values
    {
        NotchPresentation presentation;
        double compactWidth = 0;
        double contentWidth = 0;
        double contentHeight = 0;
        double height = 0;
        bool canResizeReader = false;
        friend bool operator==(const Values &, const Values &) = default;
    };

    Inbox &m_inbox;
    const TextMeasurer *m_textMeasurer = nullptr;
    std::optional<QSizeF> m_cachedReaderSize;
    Values m_values; // the values read last
};
