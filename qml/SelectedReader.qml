import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The selected message: its subject and its text.
Flickable {
    id: reader
    required property Inbox inbox

    clip: true
    contentWidth: width
    contentHeight: column.height + 8
    boundsBehavior: Flickable.StopAtBounds
    Q.ScrollBar.vertical: Q.ScrollBar { policy: Q.ScrollBar.AsNeeded }

    Column {
        id: column
        width: reader.width
        spacing: 10

        Text {
            width: parent.width
            text: reader.inbox.selectedSubject
            color: "white"
            wrapMode: Text.Wrap
            font.pixelSize: 18
            font.weight: Font.DemiBold
        }
        ReaderTextInteraction {
            objectName: "readerText"
            width: parent.width
            height: body.height
            canResize: reader.inbox.canResizeReader
            text: reader.inbox.selectedBody
            onToggleSize: reader.inbox.toggleReaderSize()
            Text {
                id: body
                width: parent.width
                text: reader.inbox.selectedBody
                textFormat: Text.PlainText
                color: Qt.rgba(1, 1, 1, 0.72)
                wrapMode: Text.Wrap
                lineHeight: 1.25
                font.pixelSize: 13
            }
        }
    }
}
