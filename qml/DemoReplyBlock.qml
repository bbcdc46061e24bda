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
    radius: 10
    color: Qt.rgba(1, 1, 1, 0.04)

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
            text: reply.sender
            color: "white"
            font.pixelSize: 11
            font.weight: Font.DemiBold
        }
        MarkdownView {
            width: parent.width
            inbox: reply.inbox
            blocks: source.blocks
            text: reply.body
            fontSize: 12
            lineSpacing: 0
            textColor: Qt.rgba(1, 1, 1, 0.75)
            backdrop: Qt.rgba(0.04, 0.04, 0.04, 1)
        }
    }
}
