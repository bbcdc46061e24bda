import QtQuick

// How a change of the surface's presentation (phase or size) animates: with the curve of the profile the
// inbox chose last, and not at all under reduce motion, for the instant profile or for a change that came
// from the keyboard. Behaviors on the surface's geometry read `animated`, `duration` and `curve`.
QtObject {
    property int phase: 0
    property size size: Qt.size(0, 0)
    property int profile: NotchMotion.entrance
    property bool reduceMotion: false
    // The change being made came from the keyboard (set only for the duration of that change).
    property bool keyboard: false

    readonly property bool animated: !reduceMotion && !keyboard && profile !== NotchMotion.instant
    readonly property int duration: profile === NotchMotion.morph ? NotchMotion.morphDuration
                                                                  : NotchMotion.entranceDuration
    readonly property var curve: profile === NotchMotion.morph ? NotchMotion.morphCurve : NotchMotion.entranceCurve
}
