import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The label of a team message: a menu to change it in the demo inbox, the plain chip in a live one.
Item {
    id: root
    required property Inbox inbox
    required property string messageId
    required property string category
    required property color labelColor
    required property string accessibleName

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

    Q.AbstractButton {
        id: face
        objectName: "teamLabelFace"
        visible: !root.inbox.live
        focusPolicy: Qt.NoFocus
        hoverEnabled: true
        leftPadding: 6
        rightPadding: 6
        topPadding: 2
        bottomPadding: 2
        background: Rectangle {
            radius: 4
            color: root.labelColor
        }
        contentItem: Row {
            spacing: 3
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "tag"
                tint: "black"
                size: 9
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: root.category
                color: "black"
                font.pixelSize: 10
                font.weight: Font.Medium
            }
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: "chevron.down"
                tint: "black"
                size: 8
            }
        }
        onClicked: menu.popup(face, root.inbox.controls.teamLabelMenu(root.category))

        Q.ToolTip.text: qsTr("Change message label")
        Q.ToolTip.visible: hovered
        Q.ToolTip.delay: 600
        Accessible.role: Accessible.ButtonMenu
        Accessible.name: root.accessibleName
        Accessible.onPressAction: face.clicked()
    }
}
