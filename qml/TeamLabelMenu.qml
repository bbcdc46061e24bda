import QtQuick
import TandrelNotch

// The label of a team message: a menu to change it in the demo inbox, the plain chip in a live one.
Item {
    id: root
    required property Inbox inbox
    required property string messageId
    required property string category
    required property color labelColor
    required property string accessibleName
    // In the Tab order (a list row's menu is, only while the row is the current one).
    // A control that has the keyboard keeps its place until the keyboard has moved on, as Qt requires.
    property bool keyboardReachable: true

    implicitWidth: inbox.live ? (category.length > 0 ? chip.implicitWidth : 0) : face.implicitWidth
    implicitHeight: inbox.live ? (category.length > 0 ? chip.implicitHeight : 0) : face.implicitHeight
    visible: implicitWidth > 0

    LabelChip {
        id: chip
        visible: root.inbox.live && root.category.length > 0
        label: root.category
        fill: root.labelColor
    }

    PanelMenu {
        id: menu
        onTriggered: value => root.inbox.setTeamLabelFor(String(value), root.messageId)
    }

    NotchButton {
        id: face
        objectName: "teamLabelFace"
        visible: !root.inbox.live
        opensMenu: true
        Accessible.role: Accessible.ButtonMenu
        focusPolicy: root.keyboardReachable || activeFocus ? Qt.TabFocus : Qt.NoFocus
        focusRadius: NotchStyle.chipRadius
        leftPadding: 6
        rightPadding: 6
        topPadding: 2
        bottomPadding: 2
        background: Rectangle {
            radius: NotchStyle.chipRadius
            color: root.labelColor
        }
        contentItem: Row {
            spacing: 3
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "tag"
                tint: NotchStyle.black
                size: 9
            }
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                text: root.category
                color: NotchStyle.black
                font.pixelSize: NotchStyle.metaSize
                font.weight: Font.Medium
            }
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "chevron.down"
                tint: NotchStyle.black
                size: 8
            }
        }
        onClicked: menu.popup(face, root.inbox.controls.teamLabelMenu(root.category))

        NotchToolTip {
            text: qsTr("Change message label")
            shown: face.hovered

        }
        Accessible.name: root.accessibleName
    }
}
