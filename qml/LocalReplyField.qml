import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The demo's reply field: a reply added here joins the conversation on this machine only.
Column {
    id: local
    objectName: "localReplyField"
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader

    spacing: 6

    Rectangle {
        width: local.width
        height: 36 + 0
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.06)

        Q.TextField {
            id: field
            objectName: "localReplyText"
            x: 10
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 20 - add.width - 8
            padding: 0
            background: null
            placeholderText: qsTr("Reply locally…")
            placeholderTextColor: Qt.rgba(1, 1, 1, 0.35)
            color: "white"
            font.pixelSize: 12
            text: local.inbox.directDraft
            onTextEdited: local.inbox.directDraft = text
            onAccepted: local.reader.addLocalReply()
        }
        Q.AbstractButton {
            id: add
            objectName: "addReplyButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            enabled: local.reader.canAddLocalReply
            focusPolicy: Qt.NoFocus
            background: null
            contentItem: Text {
                text: qsTr("Add reply")
                color: local.focusPink
                opacity: add.enabled ? (add.pressed ? 0.7 : 1) : 0.35
                font.pixelSize: 12
            }
            onClicked: local.reader.addLocalReply()
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Add reply")
        }
    }

    Text {
        text: qsTr("Demo only · Replies aren’t sent")
        color: "#8e8e93"
        font.pixelSize: 9
    }
}
