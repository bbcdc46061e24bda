#include "VisualizationDialogPlacement.h"

#include <algorithm>
#include <array>

namespace {

enum class Align { centre, leftEdge, rightEdge };

// The dialog at its size for `room` (the preferred size, shrunk to the room but not below the minimum),
// at the top of the room, placed on `anchorX` as `align` says and kept inside the room.
QRect fitted(const QRect &room, QSize preferred, QSize minimum, int anchorX, Align align)
{
    const QSize size(std::clamp(room.width(), minimum.width(), preferred.width()),
                     std::clamp(room.height(), minimum.height(), preferred.height()));
    int x = anchorX;
    if (align == Align::centre)
        x -= size.width() / 2;
    else if (align == Align::rightEdge)
        x -= size.width();
    x = std::clamp(x, room.left(), std::max(room.left(), room.right() + 1 - size.width()));
    return {QPoint(x, room.top()), size};
}

bool holds(const QRect &room, QSize size)
{
    return room.width() >= size.width() && room.height() >= size.height();
}

} // namespace

QRect VisualizationDialogPlacement::place(const QRect &area, const QRect &card, QSize preferred, QSize minimum)
{
    minimum = minimum.boundedTo(preferred);
    const QRect inner = area.adjusted(gap, gap, -gap, -gap);
    const QRect clearCard = card.adjusted(-gap, -gap, gap, gap);
    // The three rooms around a card that hangs from the top of the screen.
    const QRect below(QPoint(inner.left(), std::max(inner.top(), clearCard.bottom() + 1)), inner.bottomRight());
    const QRect left(inner.topLeft(), QPoint(std::min(inner.right(), clearCard.left() - 1), inner.bottom()));
    const QRect right(QPoint(std::max(inner.left(), clearCard.right() + 1), inner.top()), inner.bottomRight());

    struct Room
    {
        QRect room;
        QRect place;
    };
    const Room underCard{below, fitted(below, preferred, minimum, card.center().x() + 1, Align::centre)};
    const Room leftOfCard{left, fitted(left, preferred, minimum, left.right() + 1, Align::rightEdge)};
    const Room rightOfCard{right, fitted(right, preferred, minimum, right.left(), Align::leftEdge)};
    const bool leftRoomier = left.width() > right.width();
    const std::array<Room, 3> order{underCard, leftRoomier ? leftOfCard : rightOfCard,
                                    leftRoomier ? rightOfCard : leftOfCard};
    // The whole dialog where it fits, else the dialog made smaller.
    for (const QSize need : {preferred, minimum}) {
        for (const Room &room : order) {
            if (holds(room.room, need))
                return room.place;
        }
    }
    // No room clear of the card: below it at the smallest size, on the screen.
    const QSize size = minimum.boundedTo(inner.size());
    const int x = std::clamp(card.center().x() + 1 - size.width() / 2, inner.left(),
                             std::max(inner.left(), inner.right() + 1 - size.width()));
    const int y =
        std::clamp(clearCard.bottom() + 1, inner.top(), std::max(inner.top(), inner.bottom() + 1 - size.height()));
    return {QPoint(x, y), size};
}
