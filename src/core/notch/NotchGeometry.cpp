#include "NotchGeometry.h"

NotchMetrics NotchGeometry::metrics(double safeAreaTopInset, std::optional<double> leftAreaMaxX,
                                    std::optional<double> rightAreaMinX, const QRectF &screenFrame)
{
    NotchMetrics result;
    result.hasNotch = safeAreaTopInset > 0;
    result.topInset = result.hasNotch ? safeAreaTopInset : fallbackTopInset;
    // A gap that is not positive cannot be a notch (a screen reporting overlapping areas): fall back
    // rather than draw a surface of negative width.
    if (result.hasNotch && leftAreaMaxX && rightAreaMinX && *rightAreaMinX > *leftAreaMaxX) {
        result.notchWidth = *rightAreaMinX - *leftAreaMaxX;
        result.centreX = (*leftAreaMaxX + *rightAreaMinX) / 2;
    } else {
        result.notchWidth = fallbackNotchWidth;
        result.centreX = screenFrame.center().x();
    }
    return result;
}

double NotchGeometry::compactWidth(int totalUnread, bool hasNotch, double notchWidth, bool keepsTab)
{
    if (totalUnread > 0 || keepsTab)
        return notchWidth + unreadTabWidth;
    if (hasNotch)
        return notchWidth;
    return 0;
}

double NotchGeometry::height(bool expanded, int totalUnread, bool hasNotch, double topInset, double contentHeight,
                             bool keepsTab)
{
    if (expanded)
        return topInset + contentHeight + bottomPadding;
    if (totalUnread == 0 && !hasNotch && !keepsTab)
        return 0;
    return topInset;
}

double NotchGeometry::contentWidth(bool hasSelection, QSizeF readerSize)
{
    return hasSelection ? readerSize.width() : listContentWidth;
}

double NotchGeometry::contentHeight(bool hasSelection, bool readerTucked, QSizeF readerSize)
{
    if (!hasSelection)
        return listContentHeight;
    if (readerTucked)
        return tuckedContentHeight;
    return readerSize.height();
}

bool NotchGeometry::canResizeReader(bool hasSelection, double readerHeight)
{
    return hasSelection && readerHeight > listContentHeight;
}

NotchPresentation::Phase NotchGeometry::phase(const State &state)
{
    if (!state.expanded)
        return NotchPresentation::Phase::collapsed;
    if (!state.hasSelection)
        return NotchPresentation::Phase::list;
    return state.readerTucked ? NotchPresentation::Phase::preview : NotchPresentation::Phase::reader;
}

QSizeF NotchGeometry::surfaceSize(const State &state)
{
    const double width = state.expanded ? contentWidth(state.hasSelection, state.readerSize) + horizontalPadding
                                        : compactWidth(state.totalUnread, state.hasNotch, state.notchWidth, state.keepsTab);
    const double surfaceHeight =
        height(state.expanded, state.totalUnread, state.hasNotch, state.topInset,
               state.expanded ? contentHeight(state.hasSelection, state.readerTucked, state.readerSize) : 0,
               state.keepsTab);
    return {width, surfaceHeight};
}

NotchPresentation NotchGeometry::presentation(const State &state)
{
    return {phase(state), surfaceSize(state)};
}
