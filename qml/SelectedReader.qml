import QtQuick
import TandrelNotch

// The selected message: its header, then the short form while tucked, the chat view for a team's direct
// conversation, or the threaded reader. A new selection builds the body afresh.
Item {
    id: selectedReader
    required property Inbox inbox
    required property color focusPink
    required property bool reduceMotion
    readonly property ReaderState current: inbox.reader
    // Which body shows for which message; empty without a selection.
    readonly property string bodyKey: current.hasMessage ? current.messageId + ":" + current.body : ""

    // Only a selection has a header: without one there is nothing for a screen reader to find here.
    Loader {
        id: header
        width: selectedReader.width
    }

    Loader {
        id: body
        y: header.height + 6
        width: selectedReader.width
        height: Math.max(selectedReader.height - y, 0)
    }

    // Set when a message opened from the keyboard: the reader's first control takes it once built.
    property bool wantsKeyboard: false
    // Gives the keyboard to the reader's first control.
    function takeKeyboard() {
        const first = selectedReader.nextItemInFocusChain(true)
        if (first && within(first))
            first.forceActiveFocus(Qt.TabFocusReason)
        else
            selectedReader.forceActiveFocus(Qt.TabFocusReason)
    }
    function within(item: Item): bool {
        for (let up = item; up; up = up.parent) {
            if (up === selectedReader)
                return true
        }
        return false
    }

    function rebuild() {
        if (bodyKey.length === 0) {
            header.source = "";
            body.source = "";
            return;
        }
        if (header.status === Loader.Null)
            header.setSource("ReaderHeader.qml", { inbox: inbox, focusPink: focusPink,
                                                   reduceMotion: Qt.binding(() => selectedReader.reduceMotion),
                                                   width: Qt.binding(() => selectedReader.width) });
        const view = current.body === ReaderState.Preview ? "FocusedPreview.qml"
                   : current.body === ReaderState.Conversation ? "DirectConversation.qml" : "MessageDetail.qml";
        body.source = "";
        body.setSource(view, current.body === ReaderState.Preview ? { inbox: inbox }
                                                                  : { inbox: inbox, focusPink: focusPink });
        if (wantsKeyboard) {
            wantsKeyboard = false;
            takeKeyboard();
        }
    }
    onBodyKeyChanged: rebuild()
    Component.onCompleted: rebuild()
}
