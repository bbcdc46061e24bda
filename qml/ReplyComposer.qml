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
        radius: NotchStyle.fieldRadius
        color: NotchStyle.fieldFill

        FontMetrics {
            id: metrics
            font.pixelSize: NotchStyle.rowSize
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
                placeholderTextColor: NotchStyle.placeholderText
                color: NotchStyle.white
                selectionColor: NotchStyle.alpha(composer.focusPink, NotchStyle.draftSelectionOpacity)
                font.pixelSize: NotchStyle.rowSize
                wrapMode: TextEdit.Wrap
                textFormat: TextEdit.PlainText
                text: composer.reader.draft
                onTextChanged: composer.reader.draft = text
                Keys.onPressed: event => {
                    if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
                            && (event.modifiers & Qt.ControlModifier)) {
                        event.accepted = true;
                        composer.reader.send();
                    } else if (event.key === Qt.Key_Tab || event.key === Qt.Key_Backtab) {
                        // Tab moves on, as in every other field of the card; a reply has no use for tabs.
                        event.accepted = true;
                        const forward = event.key === Qt.Key_Tab && !(event.modifiers & Qt.ShiftModifier);
                        draft.nextItemInFocusChain(forward).forceActiveFocus(forward ? Qt.TabFocusReason
                                                                                     : Qt.BacktabFocusReason);
                    }
                }
                Accessible.name: qsTr("Reply")
            }
        }

        FocusRing {
            shown: draft.activeFocus
            cornerRadius: NotchStyle.fieldRadius
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
            opacity: enabled ? (pressed ? NotchStyle.pressedOpacity : 1) : NotchStyle.disabledOpacity
            onClicked: composer.reader.send()
        }
    }

    Text {
        textFormat: Text.PlainText
        objectName: "replyStatus"
        visible: composer.status.length > 0
        text: composer.status
        color: NotchStyle.grey
        font.pixelSize: NotchStyle.metaSize
    }

    // Ctrl+Return sends from anywhere in the reader, not only from the field.
    Shortcut {
        sequences: ["Ctrl+Return", "Ctrl+Enter"]
        enabled: composer.visible && !draft.activeFocus
        onActivated: composer.reader.send()
    }
}
