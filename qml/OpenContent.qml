import QtQuick
import TandrelNotch

// The open card under the bar: the header, the action error, and the message list or the selected
// message's reader, which cross-fade when the selection changes.
Item {
    id: card
    required property Inbox inbox
    required property color accent
    required property color focusPink
    required property bool reduceMotion
    required property bool keyboard
    required property bool searchVisible
    signal searchToggled()

    readonly property string actionError: inbox.actionError ?? ""

    function focusSearch() {
        header.focusSearch()
    }

    // Leaves the message for the list: the reader fades out as it was while the list fades in.
    function goBack() {
        holdReader()
        inbox.deselect()
    }
    // Keeps a picture of the reader as it stands, fading out over whatever replaces it (the list, or
    // another message's reader, which the model builds at once).
    function holdReader() {
        if (!fadeAnimated || !inbox.hasSelection || !leaving.hold(reader))
            return
        leaving.opacity = 1
        leavingFade.restart()
    }

    // Whether `item` lies inside `scope`.
    function within(item: Item, scope: Item): bool {
        for (let up = item; up; up = up.parent) {
            if (up === scope)
                return true
        }
        return false
    }
    // The keyboard follows the switch between list and reader: a row opened from the keyboard hands it to
    // the reader's first control, and going back hands it to the list's current row.
    Connections {
        target: card.inbox
        function onSelectedIDChanged() {
            const focused = card.Window.activeFocusItem
            if (!focused)
                return
            if (card.inbox.hasSelection && card.within(focused, list))
                reader.wantsKeyboard = true
            else if (!card.inbox.hasSelection && card.within(focused, reader))
                list.takeKeyboard()
        }
    }
    // The list/reader switch: a linear fade under reduce motion, else the short feedback curve.
    readonly property bool fadeAnimated: !keyboard
    readonly property int fadeDuration: reduceMotion ? NotchMotion.reducedFadeDuration : NotchMotion.feedbackDuration

    NotchHeader {
        id: header
        y: 9
        width: card.width
        height: 28
        inbox: card.inbox
        searchVisible: card.searchVisible
        reduceMotion: card.reduceMotion
        keyboard: card.keyboard
        onSearchToggled: card.searchToggled()
        onBackRequested: card.goBack()
        onSearchLeft: if (!card.inbox.hasSelection) list.takeKeyboard()
    }

    Text {
        id: error
        textFormat: Text.PlainText
        objectName: "actionError"
        y: header.y + header.height + 14
        width: card.width
        visible: card.actionError.length > 0
        text: card.actionError
        color: NotchStyle.orange
        font.pixelSize: NotchStyle.noticeSize
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
    }

    Item {
        id: stack
        y: error.visible ? error.y + error.implicitHeight + 6 : error.y
        width: card.width
        height: card.height - y

        MessageList {
            id: list
            anchors.fill: parent
            inbox: card.inbox
            accent: card.accent
            focusPink: card.focusPink
            reduceMotion: card.reduceMotion
            opacity: card.inbox.hasSelection ? 0 : 1
            // Shown from the start of its fade-in, so that it can take the keyboard at once.
            visible: opacity > 0 || !card.inbox.hasSelection
            Behavior on opacity {
                enabled: card.fadeAnimated
                NumberAnimation {
                    duration: card.fadeDuration
                    easing.type: card.reduceMotion ? Easing.Linear : Easing.Bezier
                    easing.bezierCurve: NotchMotion.feedbackCurve
                }
            }
        }

        SelectedReader {
            id: reader
            anchors.fill: parent
            inbox: card.inbox
            focusPink: card.focusPink
            reduceMotion: card.reduceMotion
            opacity: card.inbox.hasSelection ? 1 : 0
            visible: opacity > 0 || card.inbox.hasSelection
            Behavior on opacity {
                enabled: card.fadeAnimated
                NumberAnimation {
                    duration: card.fadeDuration
                    easing.type: card.reduceMotion ? Easing.Linear : Easing.Bezier
                    easing.bezierCurve: NotchMotion.feedbackCurve
                }
            }
        }

        ViewSnapshot {
            id: leaving
            objectName: "leavingReader"
            anchors.fill: parent
            opacity: 0
            visible: leaving.holding && leaving.opacity > 0
            NumberAnimation {
                id: leavingFade
                target: leaving
                property: "opacity"
                from: 1
                to: 0
                duration: card.fadeDuration
                easing.type: card.reduceMotion ? Easing.Linear : Easing.Bezier
                easing.bezierCurve: NotchMotion.feedbackCurve
                onFinished: leaving.release()
            }
        }
    }
}
