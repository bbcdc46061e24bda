pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch

// The end of the threaded reader: the body's HTML attachments, the owner-approval box, the replies (the
// conversation's rows live, the demo's replies otherwise) and the thread's end.
Column {
    id: threadFooter
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader
    readonly property MessageBlockList body: inbox.selectedBlocks

    spacing: 8
    bottomPadding: 8

    Repeater {
        model: threadFooter.body ? threadFooter.body.attachmentCount : 0
        delegate: VisualizationAttachment {
            required property int index
            width: threadFooter.width
            height: implicitHeight
            inbox: threadFooter.inbox
            content: threadFooter.body
            attachmentIndex: index
        }
    }
    ApprovalBox {
        width: threadFooter.width
        text: threadFooter.reader.approvalNotice
    }
    Repeater {
        model: threadFooter.inbox.live ? threadFooter.reader.rows : null
        delegate: ConversationReplyRow {
            width: threadFooter.width
            inbox: threadFooter.inbox
            focusPink: threadFooter.focusPink
        }
    }
    Repeater {
        model: threadFooter.inbox.live ? null : threadFooter.reader.rows
        delegate: DemoReplyBlock {
            width: threadFooter.width
            inbox: threadFooter.inbox
        }
    }
    Item {
        objectName: "threadEnd"
        width: 1
        height: 1
    }
}
