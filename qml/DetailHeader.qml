import QtQuick
import TandrelNotch

// The top of the threaded reader, scrolling with the text: the agent notice, "Open in Tandrel" (live) and
// the subject, which a double click switches between the short and full form.
Column {
    id: threadHeader
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader

    spacing: 8
    topPadding: 8

    AgentNotice {
        text: threadHeader.reader.agentNotice
    }
    NotchButton {
        objectName: "openInTandrel"
        visible: threadHeader.inbox.live
        contentItem: Text {
            textFormat: Text.PlainText
            text: qsTr("Open in Tandrel")
            color: threadHeader.focusPink
            font.pixelSize: NotchStyle.chipSize
        }
        onClicked: threadHeader.reader.openInTandrel()
        Accessible.name: qsTr("Open in Tandrel")
    }
    Text {
        textFormat: Text.PlainText
        objectName: "readerSubject"
        width: threadHeader.width
        text: threadHeader.reader.subject
        color: NotchStyle.white
        wrapMode: Text.Wrap
        font.pixelSize: NotchStyle.subjectSize
        font.weight: Font.DemiBold
        TapHandler {
            onDoubleTapped: threadHeader.inbox.toggleReaderSize()
        }
    }
}
