import QtQuick
import TandrelNotch

// One row of a conversation: the sender with the row's focus button (a hollow dot while the reply is still
// on its way), the formatted text, and the service's status of a reply sent from here.
Rectangle {
    id: row
    objectName: "conversationRow"
    required property Inbox inbox
    required property color focusPink
    required property string rowId
    required property string sender
    required property string body
    required property string status
    required property string messageId
    required property bool pending
    required property bool focused
    required property bool released
    required property string focusTooltip
    required property string focusAccessibleName
    required property string focusAccessibleValue

    implicitHeight: column.implicitHeight + 20
    radius: NotchStyle.replyRadius
    color: NotchStyle.replyFill

    MarkdownSource {
        id: source
        inbox: row.inbox
        text: row.body
    }

    Column {
        id: column
        x: 10
        y: 10
        width: row.width - 20
        spacing: 8

        Item {
            width: parent.width
            height: 30
            Text {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 36
                text: row.sender
                color: NotchStyle.white
                elide: Text.ElideRight
                font.pixelSize: NotchStyle.chipSize
                font.weight: Font.DemiBold
            }
            FocusButton {
                visible: !row.pending
                anchors.right: parent.right
                compact: true
                focused: row.focused
                released: row.released
                tooltip: row.focusTooltip
                accessibleName: row.focusAccessibleName
                accessibleValue: row.focusAccessibleValue
                focusPink: row.focusPink
                onToggled: row.inbox.reader.toggleFocus(row.messageId)
            }
            // A reply on its way has no message to focus yet.
            Item {
                objectName: "pendingPlaceholder"
                visible: row.pending
                anchors.right: parent.right
                width: 30
                height: 30
                Rectangle {
                    anchors.centerIn: parent
                    width: 7
                    height: 7
                    radius: 3.5
                    color: "transparent"
                    border.width: 1
                    border.color: NotchStyle.ring
                }
            }
        }

        MarkdownView {
            width: parent.width
            inbox: row.inbox
            blocks: source.blocks
            text: row.body
            fontSize: 13
            lineSpacing: 5
            textColor: NotchStyle.bodyText
            backdrop: NotchStyle.replyBackdrop
        }

        Text {
            textFormat: Text.PlainText
            objectName: "rowStatus"
            visible: row.status.length > 0
            text: row.status
            color: NotchStyle.grey
            font.pixelSize: NotchStyle.metaSize
        }
    }
}
