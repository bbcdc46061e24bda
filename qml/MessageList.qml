pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import TandrelNotch

// The list side of the open card: the connection error with "Retry", the filter row, the summary of
// filters in force, and the rows (virtualised; rows keep their identity and state across refreshes).
ColumnLayout {
    id: list
    required property Inbox inbox
    required property color accent
    required property color focusPink
    required property bool reduceMotion
    readonly property string connectionError: inbox.connectionError ?? ""

    spacing: 6

    // Gives the keyboard to the current row.
    function takeKeyboard() {
        rows.forceActiveFocus(Qt.TabFocusReason)
    }

    RowLayout {
        objectName: "connectionError"
        visible: list.connectionError.length > 0
        Layout.fillWidth: true
        spacing: 8
        Text {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            text: list.connectionError
            color: NotchStyle.orange
            font.pixelSize: NotchStyle.noticeSize
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
        }
        NotchButton {
            id: retry
            objectName: "retryButton"
            contentItem: Text {
                textFormat: Text.PlainText
                text: qsTr("Retry")
                color: retry.pressed ? NotchStyle.pressedText : NotchStyle.white
                font.pixelSize: NotchStyle.noticeSize
                font.weight: Font.Medium
            }
            onClicked: list.inbox.retry()
            Accessible.name: qsTr("Retry")
        }
    }

    FilterRow {
        Layout.fillWidth: true
        inbox: list.inbox
        focusPink: list.focusPink
    }

    FilterSummaryRow {
        objectName: "filterSummary"
        visible: list.inbox.filter === ListControls.Unread || list.inbox.filter === ListControls.Review
                 || list.inbox.kind.length > 0
        inbox: list.inbox
    }

    ListView {
        id: rows
        objectName: "messageRows"
        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        spacing: 5
        boundsBehavior: Flickable.StopAtBounds
        reuseItems: true
        model: list.inbox.visibleMessages
        // Up and Down move the current row; the row that has the keyboard stays in view.
        keyNavigationEnabled: true
        onCurrentIndexChanged: if (activeFocus) positionViewAtIndex(currentIndex, ListView.Contain)
        Accessible.role: Accessible.List
        Accessible.name: list.inbox.scopeName
        delegate: MessageRow {
            objectName: "messageRow"
            width: rows.width
            inbox: list.inbox
            focusPink: list.focusPink
            reduceMotion: list.reduceMotion
        }

        EmptyListState {
            objectName: "emptyState"
            visible: list.inbox.visibleMessages.count === 0
            anchors.centerIn: parent
            inbox: list.inbox
            accent: list.accent
            focusPink: list.focusPink
        }
    }
}
