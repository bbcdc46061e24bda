import QtQuick
import TandrelNotch

// The band beside the camera: the icon on the left, the title while open, the unread counter on the
// right, with at least the notch's width between them. A click pins the surface open; a double click
// collapses it; a right click asks for the application menu (at a point of the bar).
Item {
    id: bar
    required property Inbox inbox
    property color focusPink
    property bool reduceMotion: false
    property bool keyboard: false
    signal menuRequested(point position)

    readonly property bool expanded: inbox.expanded
    readonly property int total: inbox.totalUnreadCount
    readonly property real padding: expanded ? 20 : 6
    readonly property real spacing: expanded ? 8 : 2

    visible: expanded || total > 0 || inbox.keepsTab
    height: expanded ? inbox.topInset + 10 : ((total > 0 || inbox.hasNotch || inbox.keepsTab) ? inbox.topInset : 0)

    NotchFeedback {
        id: arrivalFeedback
        value: bar.inbox.arrival
        reduceMotion: bar.reduceMotion
        keyboard: bar.keyboard
    }
    NotchFeedback {
        id: expandFeedback
        value: bar.expanded
        reduceMotion: bar.reduceMotion
        keyboard: bar.keyboard
    }

    Image {
        id: icon
        source: "qrc:/social-inbox.svg"
        sourceSize.width: 40
        sourceSize.height: 40
        smooth: true
        x: bar.padding
        anchors.verticalCenter: parent.verticalCenter
        width: bar.expanded ? 20 : 14
        height: width
        opacity: bar.expanded ? 1 : (bar.inbox.arrival ? 1 : 0.7)
        Accessible.ignored: true
        Behavior on opacity {
            enabled: arrivalFeedback.animated
            NumberAnimation {
                duration: arrivalFeedback.duration
                easing.type: Easing.Bezier
                easing.bezierCurve: arrivalFeedback.curve
            }
        }
    }

    Text {
        id: title
        textFormat: Text.PlainText
        text: qsTr("Tandrel")
        color: NotchStyle.white
        font.pixelSize: NotchStyle.barTitleSize
        font.weight: Font.DemiBold
        x: icon.x + icon.width + bar.spacing
        anchors.verticalCenter: parent.verticalCenter
        opacity: bar.expanded ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            enabled: expandFeedback.animated
            NumberAnimation {
                duration: expandFeedback.duration
                easing.type: Easing.Bezier
                easing.bezierCurve: expandFeedback.curve
            }
        }
    }

    UnreadIndicator {
        id: counter
        objectName: "unreadIndicator"
        z: 1
        inbox: bar.inbox
        focusPink: bar.focusPink
        reduceMotion: bar.reduceMotion
        keyboard: bar.keyboard
        anchors.right: parent.right
        anchors.rightMargin: bar.padding
        anchors.verticalCenter: parent.verticalCenter
    }

    MouseArea {
        id: barArea
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        hoverEnabled: true
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton) {
                bar.menuRequested(Qt.point(mouse.x, mouse.y))
                return
            }
            bar.inbox.pinned = true
            bar.inbox.open()
        }
        onDoubleClicked: mouse => {
            if (mouse.button === Qt.LeftButton)
                bar.inbox.close()
        }
    }
    NotchToolTip {
        text: qsTr("Click to keep open. Double-click to collapse.")
        shown: barArea.containsMouse
        delay: 800
    }

    Accessible.role: Accessible.Button
    Accessible.name: inbox.controls.barAccessibleName(total)
    Accessible.onPressAction: {
        bar.inbox.pinned = true
        bar.inbox.open()
    }
}
