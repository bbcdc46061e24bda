import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The unread counter at the right of the bar: the total across inboxes while collapsed; while open the
// count of the inbox on show, "here", and the count of the other inboxes when there is any. A click opens
// the menu of inboxes with their unread counts.
Item {
    id: indicator
    required property Inbox inbox
    property color focusPink
    property bool reduceMotion: false
    property bool keyboard: false

    readonly property bool expanded: inbox.expanded
    readonly property int here: inbox.unreadCount
    readonly property int total: inbox.totalUnreadCount
    readonly property int other: total - here
    readonly property color countColor: inbox.arrival ? Qt.rgba(focusPink.r, focusPink.g, focusPink.b, 0.85)
                                                      : Qt.rgba(1, 1, 1, 0.85)

    width: expanded ? 112 : 16
    height: 24

    NotchFeedback {
        id: countFeedback
        value: indicator.total
        reduceMotion: indicator.reduceMotion
        keyboard: indicator.keyboard
    }
    NotchFeedback {
        id: arrivalFeedback
        value: indicator.inbox.arrival
        reduceMotion: indicator.reduceMotion
        keyboard: indicator.keyboard
    }

    PanelMenu {
        id: menu
        onTriggered: value => {
            indicator.inbox.switchScopeTo(String(value))
            indicator.inbox.pinned = true
            indicator.inbox.open()
        }
    }

    Row {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4

        CountText {
            objectName: "unreadCount"
            value: indicator.expanded ? indicator.here : indicator.total
            color: indicator.countColor
            reduceMotion: indicator.reduceMotion
            animated: countFeedback.animated
            Behavior on color {
                enabled: arrivalFeedback.animated
                ColorAnimation {
                    duration: arrivalFeedback.duration
                    easing.type: Easing.Bezier
                    easing.bezierCurve: arrivalFeedback.curve
                }
            }
        }
        Text {
            visible: indicator.expanded
            text: qsTr("here")
            color: Qt.rgba(1, 1, 1, 0.45)
            font.pixelSize: 10
            font.weight: Font.Medium
        }
        Text {
            visible: indicator.expanded && indicator.other >= 1
            text: "·"
            color: Qt.rgba(1, 1, 1, 0.3)
            font.pixelSize: 10
            font.weight: Font.Medium
        }
        CountText {
            visible: indicator.expanded && indicator.other >= 1
            value: Math.max(0, indicator.other)
            color: Qt.rgba(indicator.focusPink.r, indicator.focusPink.g, indicator.focusPink.b, 0.85)
            reduceMotion: indicator.reduceMotion
            animated: countFeedback.animated
        }
        Text {
            visible: indicator.expanded && indicator.other >= 1
            text: qsTr("other")
            color: Qt.rgba(1, 1, 1, 0.45)
            font.pixelSize: 10
            font.weight: Font.Medium
        }
    }

    // The whole frame takes the click.
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: menu.popup(indicator, indicator.inbox.controls.inboxMenu())
    }
    Q.ToolTip.text: qsTr("Unread messages by inbox")
    Q.ToolTip.visible: area.containsMouse && !menu.open
    Q.ToolTip.delay: 600

    Accessible.role: Accessible.ButtonMenu
    Accessible.name: qsTr("%1 unread in %2, %3 in other inboxes").arg(indicator.here).arg(indicator.inbox.scopeName)
                         .arg(Math.max(0, indicator.other))
    Accessible.onPressAction: menu.popup(indicator, indicator.inbox.controls.inboxMenu())
}
