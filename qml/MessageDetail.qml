pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic as Q
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
        Q.ScrollBar.vertical: Q.ScrollBar { policy: Q.ScrollBar.AsNeeded }

        header: Column {
            width: list.width
            spacing: 8
            topPadding: 8
            bottomPadding: 8
            AgentNotice {
                text: detail.reader.agentNotice
            }
            Q.AbstractButton {
                objectName: "openInTandrel"
                visible: detail.inbox.live
                focusPolicy: Qt.NoFocus
                background: null
                contentItem: Text {
                    text: "Open in Tandrel"
                    color: detail.focusPink
                    font.pixelSize: 11
                }
                onClicked: detail.reader.openInTandrel()
                Accessible.role: Accessible.Button
                Accessible.name: "Open in Tandrel"
            }
            Text {
                objectName: "readerSubject"
                width: parent.width
                text: detail.reader.subject
                color: "white"
                wrapMode: Text.Wrap
                font.pixelSize: 18
                font.weight: Font.DemiBold
                TapHandler {
                    onDoubleTapped: detail.inbox.toggleReaderSize()
                }
            }
        }

        delegate: ReaderTextInteraction {
            id: interaction
            objectName: "readerText"
            required property string kind
            required property string html
            required property string plainText
            required property string marker
            width: list.width
            height: block.implicitHeight
            canResize: detail.inbox.canResizeReader
            text: detail.inbox.selectedBody
            onToggleSize: detail.inbox.toggleReaderSize()
            MarkdownBlock {
                id: block
                width: interaction.width
                kind: interaction.kind
                html: interaction.html
                plainText: interaction.plainText
                marker: interaction.marker
                fontSize: 13
                lineSpacing: 5
                textColor: Qt.rgba(1, 1, 1, 0.78)
            }
        }

        footer: Column {
            width: list.width
            spacing: 8
            topPadding: 8
            bottomPadding: 8
            Repeater {
                model: detail.inbox.selectedBlocks.attachmentCount
                delegate: VisualizationAttachment {
                    required property int index
                    width: list.width
                    height: implicitHeight
                    inbox: detail.inbox
                    blocks: detail.inbox.selectedBlocks
                    attachmentIndex: index
                }
            }
            ApprovalBox {
                width: list.width
                text: detail.reader.approvalNotice
            }
            Repeater {
                model: detail.reader.rows
                delegate: detail.inbox.live ? replyRow : demoReply
            }
            Item {
                objectName: "threadEnd"
                width: 1
                height: 1
            }
        }

        Component {
            id: replyRow
            ConversationReplyRow {
                width: list.width
                inbox: detail.inbox
                focusPink: detail.focusPink
            }
        }
        Component {
            id: demoReply
            DemoReplyBlock {
                width: list.width
                inbox: detail.inbox
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
    onPendingCountChanged: list.positionViewAtEnd()
}
