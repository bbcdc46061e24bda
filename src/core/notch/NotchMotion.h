#pragma once

#include "NotchAnimation.h"

#include <QMetaType>

#include <optional>

// The four animations of the notch surface and the rules that choose between them. Reduce motion
// (the user's accessibility setting) and changes made from the keyboard switch animation off.
class NotchMotion
{
    Q_GADGET

public:
    // How the next geometry change of the surface animates.
    enum class Profile { instant, entrance, morph };
    Q_ENUM(Profile)

    // Opening and closing the surface.
    static constexpr NotchAnimation entrance{false, 0.32, 0.72, 0, 1, 0.28};
    // Resizing the open surface (list to reader, full to short reader).
    static constexpr NotchAnimation morph{false, 0.32, 0.72, 0, 1, 0.28};
    // Small indicators inside the surface.
    static constexpr NotchAnimation feedback{false, 0.23, 1, 0.32, 1, 0.125};
    // The list/reader cross-fade under reduce motion.
    static constexpr NotchAnimation reducedFade{true, 0, 0, 1, 1, 0.2};

    // Animation of a change of the surface's presentation (phase or size); absent means none.
    static std::optional<NotchAnimation> geometryAnimation(Profile profile, bool reduceMotion, bool fromKeyboard);
    // Animation of a watched indicator value. `movement`: the change moves or resizes something,
    // rather than only changing colour or opacity (which keeps animating under reduce motion).
    static std::optional<NotchAnimation> feedbackAnimation(bool movement, bool reduceMotion, bool fromKeyboard);
    // Cross-fade between the message list and the reader when the selection changes.
    static NotchAnimation listReaderSwitch(bool reduceMotion);

    // Profile rules of the inbox. Each applies only when its field actually changed value, and the
    // inbox stores the result only when it differs from the current profile.
    static Profile profileForExpandedChange() { return Profile::entrance; }
    static Profile profileForSelectionChange(bool expanded) { return expanded ? Profile::morph : Profile::entrance; }
    static Profile profileForReaderTuckedChange(bool expanded) { return expanded ? Profile::morph : Profile::entrance; }
};
