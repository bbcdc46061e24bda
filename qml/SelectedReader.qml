pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The selected message: its subject, then its body as formatted blocks (a virtualised list, so a long
// body costs only what is on screen). Double-clicking the text switches a long message between its full
// and short form; its context menu copies the whole text.
Item {
    id: reader
    required property Inbox inbox

    Text {
        id: subject
        width: reader.width
        text: reader.inbox.selectedSubject
        color: "white"
        wrapMode: Text.Wrap
        maximumLineCount: 3
        elide: Text.ElideRight
        font.pixelSize: 18
        font.weight: Font.DemiBold
    }

    ListView {
        id: blocks
        y: subject.height + 10
        width: reader.width
        height: reader.height - y
        clip: true
        spacing: 8
        boundsBehavior: Flickable.StopAtBounds
        model: reader.inbox.selectedBlocks
        Q.ScrollBar.vertical: Q.ScrollBar { policy: Q.ScrollBar.AsNeeded }

        delegate: ReaderTextInteraction {
            id: interaction
            objectName: "readerText"
            required property string kind
            required property string html
            required property string plainText
            required property string marker
            width: reader.width
            height: block.implicitHeight
            canResize: reader.inbox.canResizeReader
            text: reader.inbox.selectedBody
            onToggleSize: reader.inbox.toggleReaderSize()
            MarkdownBlock {
                id: block
                width: interaction.width
                kind: interaction.kind
                html: interaction.html
                plainText: interaction.plainText
                marker: interaction.marker
            }
        }
    }
}
