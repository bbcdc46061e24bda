import QtQuick
import TandrelNotch

// A count that changes with a short numeric transition: the old number slides up and fades as the new one
// comes in (a plain cross-fade under reduce motion). Digits keep one width, so the row does not jitter.
Item {
    id: count
    required property int value
    property color color: NotchStyle.white
    property bool reduceMotion: false
    property bool animated: true

    readonly property real digitWidth: metrics.advanceWidth
    implicitWidth: Math.max(1, String(value).length) * digitWidth
    implicitHeight: current.implicitHeight
    clip: true

    TextMetrics {
        id: metrics
        font: current.font
        text: "0"
    }

    Text {
        id: previous
        textFormat: Text.PlainText
        anchors.right: parent.right
        anchors.top: parent.top
        opacity: 0
        color: count.color
        font: current.font
    }
    Text {
        id: current
        textFormat: Text.PlainText
        anchors.right: parent.right
        anchors.top: parent.top
        text: count.value
        color: count.color
        font.pixelSize: NotchStyle.metaSize
        font.weight: Font.Medium
        Accessible.ignored: true
    }

    ParallelAnimation {
        id: roll
        NumberAnimation { target: previous; property: "opacity"; from: 1; to: 0; duration: NotchMotion.feedbackDuration }
        NumberAnimation { target: current; property: "opacity"; from: 0; to: 1; duration: NotchMotion.feedbackDuration }
        NumberAnimation {
            target: previous; property: "anchors.topMargin"; from: 0; to: count.reduceMotion ? 0 : -count.height
            duration: NotchMotion.feedbackDuration; easing.type: Easing.Bezier; easing.bezierCurve: NotchMotion.feedbackCurve
        }
        NumberAnimation {
            target: current; property: "anchors.topMargin"; from: count.reduceMotion ? 0 : count.height; to: 0
            duration: NotchMotion.feedbackDuration; easing.type: Easing.Bezier; easing.bezierCurve: NotchMotion.feedbackCurve
        }
    }

    property int shown: value
    onValueChanged: {
        previous.text = shown
        shown = value
        if (animated)
            roll.restart()
    }
}
