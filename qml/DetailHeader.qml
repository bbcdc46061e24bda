import QtQuick
import QtQuick.Controls.Basic as Q
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
    Q.AbstractButton {
        objectName: "openInTandrel"
        visible: threadHeader.inbox.live
        focusPolicy: Qt.NoFocus
        background: null
        contentItem: Text {
            text: qsTr("Open in Tandrel")
            color: threadHeader.focusPink
            font.pixelSize: 11
        }
        onClicked: threadHeader.reader.openInTandrel()
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Open in Tandrel")
    }
    Text {
        objectName: "readerSubject"
        width: threadHeader.width
        text: threadHeader.reader.subject
        color: "white"
        wrapMode: Text.Wrap
        font.pixelSize: 18
        font.weight: Font.DemiBold
        TapHandler {
            onDoubleTapped: threadHeader.inbox.toggleReaderSize()
        }
    }
}
