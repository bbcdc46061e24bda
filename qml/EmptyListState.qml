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
        anchors.horizontalCenter: parent.horizontalCenter
        objectName: "emptyTitle"
        text: empty.controls.emptyTitle
        color: "white"
        font.pixelSize: 14
        font.weight: Font.Medium
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        text: empty.controls.emptySubtitle
        color: "#8e8e93"
        font.pixelSize: 12
    }
}
