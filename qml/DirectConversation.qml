pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// A team's direct conversation as a chat: the rows (live) or bubbles (demo) from the oldest to the newest,
// opening at the newest, and the composer under them. A new reply scrolls to the end.
Item {
    id: chat
    objectName: "directConversation"
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader

    ListView {
        id: list
        objectName: "conversationList"
        width: chat.width
        height: chat.height - composer.height - 8
        clip: true
        spacing: 8
        boundsBehavior: Flickable.StopAtBounds
        model: chat.reader.rows
        delegate: chat.inbox.live ? replyRow : bubble
        Q.ScrollBar.vertical: Q.ScrollBar { policy: Q.ScrollBar.AsNeeded }

        header: Item {
            width: list.width
            height: subject.implicitHeight + 8 + 8
            Text {
                id: subject
                objectName: "conversationSubject"
                y: 4
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: chat.reader.subject
                color: "#8e8e93"
                wrapMode: Text.Wrap
                font.pixelSize: 11
                font.weight: Font.Medium
            }
        }
        footer: Column {
            width: list.width
            topPadding: 8
            spacing: 8
            AgentNotice {
                text: chat.reader.agentNotice
            }
            Item {
                objectName: "conversationEnd"
                width: 1
                height: 1
            }
        }

        Component {
            id: replyRow
            ConversationReplyRow {
                width: list.width
                inbox: chat.inbox
                focusPink: chat.focusPink
            }
        }
        Component {
            id: bubble
            ChatBubble {
                width: list.width
                inbox: chat.inbox
                focusPink: chat.focusPink
            }
        }

        // The chat opens at its newest row and stays there while rows take their size, until the user
        // scrolls; a new reply brings it back to the end.
        property bool keepsEnd: true
        onContentHeightChanged: if (keepsEnd) positionViewAtEnd()
        onHeightChanged: if (keepsEnd) positionViewAtEnd()
        onMovementStarted: keepsEnd = false
        Component.onCompleted: positionViewAtEnd()
    }

    Item {
        id: composer
        y: chat.height - height
        width: chat.width
        height: chat.inbox.live ? live.implicitHeight : demo.implicitHeight
        ReplyComposer {
            id: live
            visible: chat.inbox.live
            width: parent.width
            inbox: chat.inbox
            focusPink: chat.focusPink
        }
        LocalReplyField {
            id: demo
            visible: !chat.inbox.live
            width: parent.width
            inbox: chat.inbox
            focusPink: chat.focusPink
        }
    }

    readonly property int pendingCount: reader.pendingCount
    readonly property int replyCount: reader.replyCount
    onPendingCountChanged: {
        list.keepsEnd = true;
        list.positionViewAtEnd();
    }
    onReplyCountChanged: {
        list.keepsEnd = true;
        list.positionViewAtEnd();
    }
}
