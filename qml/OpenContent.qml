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
    }

    Text {
        id: error
        objectName: "actionError"
        y: header.y + header.height + 14
        width: card.width
        visible: card.actionError.length > 0
        text: card.actionError
        color: "orange"
        font.pixelSize: 11
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
            visible: opacity > 0
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
            visible: opacity > 0
            Behavior on opacity {
                enabled: card.fadeAnimated
                NumberAnimation {
                    duration: card.fadeDuration
                    easing.type: card.reduceMotion ? Easing.Linear : Easing.Bezier
                    easing.bezierCurve: NotchMotion.feedbackCurve
                }
            }
        }
    }
}
