#pragma once

#include "NotchMetrics.h"
#include "NotchPresentation.h"

#include <QRectF>
#include <QSizeF>

#include <optional>

// The sizes of the notch surface in every state. Pure functions of plain values: the inbox feeds
// them its own fields so that the views, the panel placement and the animations agree on one
// geometry. Lengths are points.
class NotchGeometry
{
public:
    // Content of the open card while no message is selected, and of a message that fits it.
    static constexpr double listContentWidth = 400;
    static constexpr double listContentHeight = 352;
    // Content height of a reader in its short (tucked) form.
    static constexpr double tuckedContentHeight = 200;
    // The open surface is this much wider than its content (half on each side)...
    static constexpr double horizontalPadding = 40;
    // ...and this much taller than the top inset plus its content.
    static constexpr double bottomPadding = 26;
    // Extra width of the collapsed surface while anything is unread (icon and counter beside the notch).
    static constexpr double unreadTabWidth = 40;
    // Fallbacks for a screen without a camera notch.
    static constexpr double fallbackTopInset = 24;
    static constexpr double fallbackNotchWidth = 140;

    // Measures the notch of a screen from its safe-area top inset, the right edge of the menu-bar
    // area left of the notch and the left edge of the area right of it (when the screen reports
    // them) and the screen's frame.
    static NotchMetrics metrics(double safeAreaTopInset, std::optional<double> leftAreaMaxX,
                                std::optional<double> rightAreaMinX, const QRectF &screenFrame);

    // Width of the collapsed surface; 0 means no surface at all. `keepsTab` keeps the tab of an unread
    // message even when nothing is unread (for desktops where the panel is the only way in).
    static double compactWidth(int totalUnread, bool hasNotch, double notchWidth, bool keepsTab = false);
    // Height of the surface, collapsed or open.
    static double height(bool expanded, int totalUnread, bool hasNotch, double topInset, double contentHeight,
                         bool keepsTab = false);
    // Size of the open card's content. readerSize is the selected message's measured reader size and
    // is read only when hasSelection is true.
    static double contentWidth(bool hasSelection, QSizeF readerSize);
    static double contentHeight(bool hasSelection, bool readerTucked, QSizeF readerSize);
    // Whether the selected message may switch between its full and short form.
    static bool canResizeReader(bool hasSelection, double readerHeight);

    // Everything the presentation depends on.
    struct State
    {
        bool expanded = false;
        int totalUnread = 0;
        bool hasNotch = false;
        bool keepsTab = false;
        double notchWidth = 180;
        double topInset = 32;
        bool hasSelection = false;
        bool readerTucked = false;
        // The selected message's reader size; read only when hasSelection is true.
        QSizeF readerSize = QSizeF(0, 0);
    };

    static NotchPresentation::Phase phase(const State &state);
    // The surface's size: the open card with its padding, or the collapsed tab.
    static QSizeF surfaceSize(const State &state);
    static NotchPresentation presentation(const State &state);
};
