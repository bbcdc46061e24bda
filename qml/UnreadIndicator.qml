import QtQuick
import TandrelNotch

// The unread counter at the right of the bar: the total across inboxes while collapsed; while open the
// count of the inbox on show, "here", and the count of the other inboxes when there is any. A click opens
// the menu of inboxes with their unread counts.
NotchButton {
    id: indicator
    required property Inbox inbox
    property color focusPink
    property bool reduceMotion: false
    property bool keyboard: false

    readonly property bool expanded: inbox.expanded
    readonly property int here: inbox.unreadCount
    readonly property int total: inbox.totalUnreadCount
    readonly property int other: total - here
    readonly property color countColor: inbox.arrival ? NotchStyle.alpha(focusPink, NotchStyle.countOpacity)
                                                      : NotchStyle.countText

    width: expanded ? 112 : 16
    height: 24
    opensMenu: true
    Accessible.role: Accessible.ButtonMenu
    focusRadius: 6
    // The counter is the bar's only control: the bar itself stays out of the Tab order.

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

    contentItem: Item {
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
                textFormat: Text.PlainText
                visible: indicator.expanded
                text: qsTr("here")
                color: NotchStyle.captionText
                font.pixelSize: NotchStyle.metaSize
                font.weight: Font.Medium
            }
            Text {
                textFormat: Text.PlainText
                visible: indicator.expanded && indicator.other >= 1
                text: "·"
                color: NotchStyle.separatorText
                font.pixelSize: NotchStyle.metaSize
                font.weight: Font.Medium
            }
            CountText {
                visible: indicator.expanded && indicator.other >= 1
                value: Math.max(0, indicator.other)
                color: NotchStyle.alpha(indicator.focusPink, NotchStyle.countOpacity)
                reduceMotion: indicator.reduceMotion
                animated: countFeedback.animated
            }
            Text {
                textFormat: Text.PlainText
                visible: indicator.expanded && indicator.other >= 1
                text: qsTr("other")
                color: NotchStyle.captionText
                font.pixelSize: NotchStyle.metaSize
                font.weight: Font.Medium
            }
        }

    }

    // The whole frame takes the click.
    onClicked: menu.popup(indicator, indicator.inbox.controls.inboxMenu())
    NotchToolTip {
        text: qsTr("Unread messages by inbox")
        shown: indicator.hovered && !menu.open
    }

    Accessible.name: inbox.controls.indicatorAccessibleName(here, inbox.scopeName, other)
}
