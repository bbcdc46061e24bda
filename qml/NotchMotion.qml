pragma Singleton
import QtQuick

// The four animations of the notch surface. Curves are cubic Beziers from (0, 0) to (1, 1), written as
// Easing.Bezier control points; durations are milliseconds.
QtObject {
    // Opening and closing the surface.
    readonly property var entranceCurve: [0.32, 0.72, 0, 1, 1, 1]
    readonly property int entranceDuration: 280
    // Resizing the open surface (list to reader, full to short reader).
    readonly property var morphCurve: [0.32, 0.72, 0, 1, 1, 1]
    readonly property int morphDuration: 280
    // Small indicators inside the surface.
    readonly property var feedbackCurve: [0.23, 1, 0.32, 1, 1, 1]
    readonly property int feedbackDuration: 125
    // The list/reader cross-fade under reduce motion (linear).
    readonly property int reducedFadeDuration: 200

    // Motion profiles, as the inbox numbers them.
    readonly property int instant: 0
    readonly property int entrance: 1
    readonly property int morph: 2
}
