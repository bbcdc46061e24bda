import QtQuick

// The short animation of an indicator whose `value` changes. A change that moves or resizes something
// (`movement`) is not animated under reduce motion; one that only fades or recolours still is. Nothing
// animates for a change that came from the keyboard.
QtObject {
    property var value
    property bool movement: false
    property bool reduceMotion: false
    property bool keyboard: false

    readonly property bool animated: !keyboard && !(movement && reduceMotion)
    readonly property int duration: NotchMotion.feedbackDuration
    readonly property var curve: NotchMotion.feedbackCurve
}
