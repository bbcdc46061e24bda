pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch

// The end of the threaded reader: the body's HTML attachments, the owner-approval box, the replies (the
// conversation's rows live, the demo's replies otherwise) and the thread's end.
Column {
    id: bottom
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader

    spacing: 8
    bottomPadding: 8

    Repeater {
        model: bottom.inbox.selectedBlocks.attachmentCount
        delegate: VisualizationAttachment {
            required property int index
            width: bottom.width
            height: implicitHeight
            inbox: bottom.inbox
            blocks: bottom.inbox.selectedBlocks
            attachmentIndex: index
        }
    }
    ApprovalBox {
        width: bottom.width
        text: bottom.reader.approvalNotice
    }
    Repeater {
        model: bottom.inbox.live ? bottom.reader.rows : null
        delegate: ConversationReplyRow {
            width: bottom.width
            inbox: bottom.inbox
            focusPink: bottom.focusPink
        }
    }
    Repeater {
        model: bottom.inbox.live ? null : bottom.reader.rows
        delegate: DemoReplyBlock {
            width: bottom.width
            inbox: bottom.inbox
        }
    }
    Item {
        objectName: "threadEnd"
        width: 1
        height: 1
    }
}
