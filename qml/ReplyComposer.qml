import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// The live composer: the conversation's draft (kept per conversation while the user reads others), growing
// from one to five lines, and the send button, which Ctrl+Return also presses. A draft of only white space
// is not sent. The service's word on the last reply shows under it.
Column {
    id: composer
    objectName: "replyComposer"
    required property Inbox inbox
    required property color focusPink
    readonly property ReaderState reader: inbox.reader
    readonly property string status: inbox.replyStatus ?? ""

    spacing: 6

    Rectangle {
        width: composer.width
        height: field.height + 20
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.06)

        FontMetrics {
            id: metrics
            font.pixelSize: 12
        }

        Q.ScrollView {
            id: field
            x: 10
            y: 10
            width: parent.width - 20 - send.width - 8
            height: Math.min(Math.max(draft.implicitHeight, metrics.height), metrics.height * 5)
            Q.ScrollBar.vertical.policy: Q.ScrollBar.AlwaysOff
            Q.ScrollBar.horizontal.policy: Q.ScrollBar.AlwaysOff

            Q.TextArea {
                id: draft
                objectName: "replyField"
                padding: 0
                background: null
                placeholderText: qsTr("Reply…")
                placeholderTextColor: Qt.rgba(1, 1, 1, 0.35)
                color: "white"
                selectionColor: Qt.rgba(composer.focusPink.r, composer.focusPink.g, composer.focusPink.b, 0.4)
                font.pixelSize: 12
                wrapMode: TextEdit.Wrap
                text: composer.reader.draft
                onTextChanged: composer.reader.draft = text
                Keys.onPressed: event => {
                    if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
                            && (event.modifiers & Qt.ControlModifier)) {
                        event.accepted = true;
                        composer.reader.send();
                    }
                }
                Accessible.name: qsTr("Reply")
            }
        }

        SymbolButton {
            id: send
            objectName: "sendButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 6
            width: 28
            height: 28
            symbol: "arrow.up.circle.fill"
            symbolSize: 20
            tint: composer.focusPink
            help: qsTr("Send reply")
            enabled: composer.reader.canSend
            opacity: enabled ? (pressed ? 0.7 : 1) : 0.35
            onClicked: composer.reader.send()
        }
    }

    Text {
        objectName: "replyStatus"
        visible: composer.status.length > 0
        text: composer.status
        color: "#8e8e93"
        font.pixelSize: 10
    }

    // Ctrl+Return sends from anywhere in the reader, not only from the field.
    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        enabled: composer.visible && !draft.activeFocus
        onActivated: composer.reader.send()
    }
}
