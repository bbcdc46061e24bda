import QtQuick
import TandrelNotch

// What the list says when it has no rows.
Column {
    id: empty
    required property Inbox inbox
    required property color accent
    required property color focusPink
    readonly property ListControls controls: inbox.controls

    spacing: 6

    Symbol {
        anchors.horizontalCenter: parent.horizontalCenter
        name: empty.controls.emptySymbol
        tint: empty.controls.emptyFocusTint ? empty.focusPink : empty.accent
        size: 27
    }
    Text {
        textFormat: Text.PlainText
        anchors.horizontalCenter: parent.horizontalCenter
        objectName: "emptyTitle"
        text: empty.controls.emptyTitle
        color: NotchStyle.white
        font.pixelSize: NotchStyle.emptyTitleSize
        font.weight: Font.Medium
    }
    Text {
        textFormat: Text.PlainText
        anchors.horizontalCenter: parent.horizontalCenter
        text: empty.controls.emptySubtitle
        color: NotchStyle.grey
        font.pixelSize: NotchStyle.rowSize
    }
}
