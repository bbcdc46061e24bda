pragma ComponentBehavior: Bound
import QtQuick
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
        height: Math.max(0, composer.y - 8)
        clip: true
        spacing: 8
        boundsBehavior: Flickable.StopAtBounds
        model: chat.reader.rows
        // Room above the rows for the subject and below them for the agent notice, which scroll with them.
        topMargin: subject.implicitHeight + 12
        bottomMargin: notice.visible ? notice.implicitHeight + 8 : 0
        // Each row builds only its own kind: a conversation row (live) or a bubble (demo).
        delegate: Item {
            id: entry
            required property string rowId
            required property string sender
            required property string body
            required property string status
            required property string messageId
            required property bool pending
            required property bool outgoing
            required property bool focused
            required property bool released
            required property string focusTooltip
            required property string focusAccessibleName
            required property string focusAccessibleValue
            width: list.width
            height: childrenRect.height
            Repeater {
                model: chat.inbox.live ? 1 : 0
                delegate: ConversationReplyRow {
                    width: list.width
                    inbox: chat.inbox
                    focusPink: chat.focusPink
                    rowId: entry.rowId
                    sender: entry.sender
                    body: entry.body
                    status: entry.status
                    messageId: entry.messageId
                    pending: entry.pending
                    focused: entry.focused
                    released: entry.released
                    focusTooltip: entry.focusTooltip
                    focusAccessibleName: entry.focusAccessibleName
                    focusAccessibleValue: entry.focusAccessibleValue
                }
            }
            Repeater {
                model: chat.inbox.live ? 0 : 1
                delegate: ChatBubble {
                    width: list.width
                    inbox: chat.inbox
                    focusPink: chat.focusPink
                    body: entry.body
                    outgoing: entry.outgoing
                }
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

    // The subject and the notice ride on the list's content: the first above its rows, the second under them.
    Item {
        anchors.fill: list
        clip: true
        readonly property real contentTop: list.originY - list.contentY
        Text {
            id: subject
            objectName: "conversationSubject"
            y: parent.contentTop - list.topMargin + 4
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            textFormat: Text.PlainText
            text: chat.reader.subject
            color: NotchStyle.grey
            elide: Text.ElideRight
            font.pixelSize: NotchStyle.noticeSize
            font.weight: Font.Medium
        }
        AgentNotice {
            id: notice
            y: parent.contentTop + list.contentHeight + 8
            text: chat.reader.agentNotice
        }
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
