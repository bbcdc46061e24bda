import QtQuick
import QtQuick.Controls.Basic as Q

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
    property color focusPink: Qt.rgba(237 / 255, 181 / 255, 194 / 255, 1)
    property bool reduceMotion: false
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
    Q.ToolTip.text: tooltip
    Q.ToolTip.visible: hover.hovered
    Q.ToolTip.delay: 600

    Q.AbstractButton {
        id: button
        anchors.fill: parent
        enabled: root.released
        opacity: root.released ? 1 : 0.3
        focusPolicy: Qt.NoFocus
        background: null
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
                    border.color: root.focused ? root.focusPink : Qt.rgba(1, 1, 1, 0.25)
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
                    visible: !root.compact
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.title
                    font.pixelSize: 12
                    font.weight: Font.Medium
                    color: root.focused ? root.focusPink : Qt.rgba(1, 1, 1, 0.45)
                }
            }
        }

        Accessible.role: Accessible.CheckBox
        Accessible.name: root.accessibleName
        Accessible.description: root.accessibleValue
        Accessible.checkable: true
        Accessible.checked: root.focused
        Accessible.onPressAction: if (root.released) root.toggled()
        Accessible.onToggleAction: if (root.released) root.toggled()
    }
}
