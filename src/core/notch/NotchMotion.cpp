#include "NotchMotion.h"

std::optional<NotchAnimation> NotchMotion::geometryAnimation(Profile profile, bool reduceMotion, bool fromKeyboard)
{
    if (reduceMotion || fromKeyboard)
        return std::nullopt;
    switch (profile) {
    case Profile::instant: return std::nullopt;
    case Profile::entrance: return entrance;
    case Profile::morph: return morph;
    }
    return std::nullopt;
}

std::optional<NotchAnimation> NotchMotion::feedbackAnimation(bool movement, bool reduceMotion, bool fromKeyboard)
{
    if (fromKeyboard || (movement && reduceMotion))
        return std::nullopt;
    return feedback;
}

NotchAnimation NotchMotion::listReaderSwitch(bool reduceMotion)
{
    return reduceMotion ? reducedFade : feedback;
}
