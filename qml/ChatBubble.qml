import QtQuick
import TandrelNotch

// One bubble of the chat view: the user's own replies on the right in pink, the others on the left.
Item {
    id: bubbleRow
    objectName: "chatBubble"
    required property Inbox inbox
    required property color focusPink
    required property string body
    required property bool outgoing

    readonly property real widest: Math.max(0, width - 36)
    implicitHeight: bubble.height

    MarkdownSource {
        id: source
        inbox: bubbleRow.inbox
        text: bubbleRow.body
    }
    // The unwrapped text's width, so that a short reply gets a small bubble.
    Text {
        id: measure
        visible: false
        text: bubbleRow.body
        textFormat: Text.PlainText
        font.pixelSize: NotchStyle.rowSize
    }

    Rectangle {
        id: bubble
        objectName: "bubble"
        x: bubbleRow.outgoing ? bubbleRow.width - width : 0
        width: Math.min(bubbleRow.widest, measure.implicitWidth + 24 + 2)
        height: text.implicitHeight + 24
        radius: NotchStyle.bubbleRadius
        color: bubbleRow.outgoing ? NotchStyle.alpha(bubbleRow.focusPink, NotchStyle.outgoingBubbleOpacity)
                                  : NotchStyle.fieldFill
        MarkdownView {
            id: text
            x: 12
            y: 12
            width: bubble.width - 24
            inbox: bubbleRow.inbox
            blocks: source.blocks
            text: bubbleRow.body
            fontSize: 12
            lineSpacing: 4
            textColor: NotchStyle.countText
        }
    }
}
