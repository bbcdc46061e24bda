pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch

// The threaded reader: notices, the subject, the body's blocks (a virtualised list, so that a long body
// costs only what is on screen), its attachments, the replies, and in the live inbox the composer. A reply
// sent from here scrolls into view.
Item {
    id: detail
    objectName: "messageDetail"
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader

    ListView {
        id: list
        objectName: "detailList"
        width: detail.width
        height: detail.height - (composer.visible ? composer.height + 8 : 0)
        clip: true
        spacing: 8
        boundsBehavior: Flickable.StopAtBounds
        model: detail.inbox.selectedBlocks
        // The first frame builds only the blocks on screen; the usual cache above and below them fills once
        // that frame is up, so that opening a long message is quick and scrolling it stays smooth.
        property bool firstFrameShown: false
        cacheBuffer: firstFrameShown ? 320 : 0
        Connections {
            target: list.Window.window
            enabled: !list.firstFrameShown
            function onFrameSwapped() { list.firstFrameShown = true; }
        }
        // After a send the end stays in view while the new row takes its size, until the user scrolls.
        property bool keepsEnd: false
        onContentHeightChanged: if (keepsEnd) positionViewAtEnd()
        onMovementStarted: keepsEnd = false

        // The header and footer are rows of the list (they scroll with the text); each row builds only its
        // own part.
        delegate: Item {
            id: part
            required property string kind
            required property string html
            required property string plainText
            required property string marker
            width: list.width
            height: childrenRect.height

            Repeater {
                model: part.kind === "header" ? 1 : 0
                delegate: DetailHeader {
                    width: list.width
                    inbox: detail.inbox
                    focusPink: detail.focusPink
                }
            }
            Repeater {
                model: part.kind === "footer" ? 1 : 0
                delegate: DetailFooter {
                    width: list.width
                    inbox: detail.inbox
                    focusPink: detail.focusPink
                }
            }
            Repeater {
                model: part.kind !== "header" && part.kind !== "footer" ? 1 : 0
                delegate: ReaderTextInteraction {
                    id: interaction
                    objectName: "readerText"
                    width: list.width
                    height: block.implicitHeight
                    canResize: detail.inbox.canResizeReader
                    text: part.plainText
                    onToggleSize: detail.inbox.toggleReaderSize()
                    onCopyRequested: TextClipboard.copyPlainText(detail.inbox.selectedBody)
                    MarkdownBlock {
                        id: block
                        width: interaction.width
                        kind: part.kind
                        html: part.html
                        plainText: part.plainText
                        marker: part.marker
                        fontSize: 13
                        lineSpacing: 5
                        textColor: NotchStyle.bodyText
                    }
                }
            }
        }
    }

    ReplyComposer {
        id: composer
        visible: detail.inbox.live
        y: detail.height - height
        width: detail.width
        inbox: detail.inbox
        focusPink: detail.focusPink
    }

    // A reply sent (or confirmed) scrolls the thread to its end; opening the reader does not.
    readonly property int pendingCount: reader.pendingCount
    onPendingCountChanged: {
        list.keepsEnd = true;
        list.positionViewAtEnd();
    }
}
