import QtQuick
import TandrelNotch

// The short form of a long message: its subject and the start of its text. A double click, or the
// accessibility action, expands it.
Item {
    id: preview
    objectName: "focusedPreview"
    required property Inbox inbox
    readonly property ReaderState reader: inbox.reader

    Column {
        width: preview.width
        spacing: 8
        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: preview.reader.subject
            color: NotchStyle.white
            wrapMode: Text.Wrap
            font.pixelSize: NotchStyle.subjectSize
            font.weight: Font.DemiBold
        }
        Text {
            objectName: "previewText"
            width: parent.width
            height: Math.min(implicitHeight, preview.height - y)
            clip: true
            text: preview.reader.previewHtml
            textFormat: Text.RichText
            wrapMode: Text.Wrap
            color: NotchStyle.excerptText
            font.pixelSize: preview.reader.previewFontSize
        }
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        acceptedButtons: Qt.LeftButton
        onDoubleTapped: preview.inbox.toggleReaderSize()
    }
    NotchToolTip {
        text: qsTr("Double-click text to expand")
        shown: hover.hovered
        delay: 800
    }

    Accessible.role: Accessible.StaticText
    Accessible.name: preview.reader.subject
    Accessible.description: qsTr("Expand message")
    Accessible.onPressAction: preview.inbox.toggleReaderSize()
    Accessible.onToggleAction: preview.inbox.toggleReaderSize()
}
