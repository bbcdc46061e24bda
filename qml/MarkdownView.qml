pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch

// A short text's formatted blocks, then its HTML attachments, 8 apart; the reply rows of a conversation
// use it. (The selected message's own body, which may be long, is a virtualised list instead.)
Column {
    id: view
    required property Inbox inbox
    required property MessageBlockList blocks
    // The whole text, for "Copy text".
    required property string text
    property real fontSize: 13
    property real lineSpacing: 5
    property color textColor: NotchStyle.bodyText
    property color backdrop: NotchStyle.black

    spacing: 8

    Repeater {
        model: view.blocks
        delegate: ReaderTextInteraction {
            id: interaction
            required property string kind
            required property string html
            required property string plainText
            required property string marker
            width: view.width
            height: block.implicitHeight
            canResize: view.inbox.canResizeReader
            text: interaction.plainText
            onToggleSize: view.inbox.toggleReaderSize()
            onCopyRequested: TextClipboard.copyPlainText(view.text)
            MarkdownBlock {
                id: block
                width: interaction.width
                kind: interaction.kind
                html: interaction.html
                plainText: interaction.plainText
                marker: interaction.marker
                fontSize: view.fontSize
                lineSpacing: view.lineSpacing
                textColor: view.textColor
            }
        }
    }

    Repeater {
        model: view.blocks.attachmentCount
        delegate: VisualizationAttachment {
            required property int index
            width: view.width
            height: implicitHeight
            inbox: view.inbox
            content: view.blocks
            attachmentIndex: index
            backdrop: view.backdrop
        }
    }
}
