import QtQuick
import TandrelNotch

// Focuses a message (or, on a card, its thread's focus target) as context for the agent: a dot, and in
// the full form the word. Disabled until the message is released; the tooltip says why.
Item {
    id: root
    required property bool focused
    required property bool released
    required property bool compact
    required property string tooltip
    required property string accessibleName
    required property string accessibleValue
    property string title
    property color focusPink: NotchStyle.focusPink
    property bool reduceMotion: false
    // In the Tab order (a list row's button is, only while the row is the current one).
    // A control that has the keyboard keeps its place until the keyboard has moved on, as Qt requires.
    property bool keyboardReachable: true
    signal toggled()

    implicitWidth: compact ? 30 : 84
    implicitHeight: 30

    NotchFeedback {
        id: feedback
        value: root.focused
        reduceMotion: root.reduceMotion
    }

    // Hover is watched here, outside the button, so that a disabled button still explains itself.
    HoverHandler {
        id: hover
    }
    NotchToolTip {
        text: root.tooltip
        shown: hover.hovered
    }

    NotchButton {
        id: button
        anchors.fill: parent
        enabled: root.released
        opacity: root.released ? (pressed ? NotchStyle.pressedOpacity : 1) : NotchStyle.unreleasedOpacity
        focusRadius: root.compact ? 15 : 8
        focusPolicy: root.keyboardReachable || activeFocus ? Qt.TabFocus : Qt.NoFocus
        leftPadding: root.compact ? 0 : 10
        rightPadding: root.compact ? 0 : 10
        onClicked: root.toggled()

        contentItem: Item {
            Row {
                anchors.centerIn: parent
                spacing: 5
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 7
                    height: 7
                    radius: 3.5
                    color: root.focused ? root.focusPink : "transparent"
                    border.width: 1
                    border.color: root.focused ? root.focusPink : NotchStyle.ring
                    Behavior on color {
                        enabled: feedback.animated
                        ColorAnimation {
                            duration: feedback.duration
                            easing.type: Easing.Bezier
                            easing.bezierCurve: feedback.curve
                        }
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    visible: !root.compact
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.title
                    font.pixelSize: NotchStyle.rowSize
                    font.weight: Font.Medium
                    color: root.focused ? root.focusPink : NotchStyle.captionText
                }
            }
        }

        Accessible.role: Accessible.CheckBox
        Accessible.name: root.accessibleName
        Accessible.description: root.accessibleValue
        Accessible.checkable: true
        Accessible.checked: root.focused
        Accessible.onToggleAction: if (root.released) root.toggled()
    }
}
