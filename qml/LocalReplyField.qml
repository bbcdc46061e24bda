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
        radius: NotchStyle.fieldRadius
        color: NotchStyle.fieldFill

        Q.TextField {
            id: field
            objectName: "localReplyText"
            x: 10
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 20 - add.width - 8
            padding: 0
            background: null
            placeholderText: qsTr("Reply locally…")
            placeholderTextColor: NotchStyle.placeholderText
            color: NotchStyle.white
            font.pixelSize: NotchStyle.rowSize
            text: local.inbox.directDraft
            onTextEdited: local.inbox.directDraft = text
            onAccepted: local.reader.addLocalReply()
        }
        FocusRing {
            shown: field.activeFocus
            cornerRadius: NotchStyle.fieldRadius
        }
        NotchButton {
            id: add
            objectName: "addReplyButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            enabled: local.reader.canAddLocalReply
            contentItem: Text {
                textFormat: Text.PlainText
                text: qsTr("Add reply")
                color: local.focusPink
                opacity: add.enabled ? 1 : NotchStyle.disabledOpacity
                font.pixelSize: NotchStyle.rowSize
            }
            onClicked: local.reader.addLocalReply()
            Accessible.name: qsTr("Add reply")
        }
    }

    Text {
        textFormat: Text.PlainText
        text: qsTr("Demo only · Replies aren’t sent")
        color: NotchStyle.grey
        font.pixelSize: NotchStyle.badgeSize
    }
}
