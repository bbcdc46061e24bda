import QtQuick
import TandrelNotch

// One demo reply under a message in the threaded reader.
Rectangle {
    id: reply
    objectName: "demoReply"
    required property Inbox inbox
    required property string sender
    required property string body

    implicitHeight: column.implicitHeight + 20
    radius: NotchStyle.replyRadius
    color: NotchStyle.replyFill

    MarkdownSource {
        id: source
        inbox: reply.inbox
        text: reply.body
    }

    Column {
        id: column
        x: 10
        y: 10
        width: reply.width - 20
        spacing: 6
        Text {
            textFormat: Text.PlainText
            text: reply.sender
            color: NotchStyle.white
            font.pixelSize: NotchStyle.chipSize
            font.weight: Font.DemiBold
        }
        MarkdownView {
            width: parent.width
            inbox: reply.inbox
            blocks: source.blocks
            text: reply.body
            fontSize: 12
            lineSpacing: 0
            textColor: NotchStyle.previewText
            backdrop: NotchStyle.replyBackdrop
        }
    }
}
