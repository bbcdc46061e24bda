import QtQuick
import QtQuick.Controls.Basic as Q

// A filter chip: the title on a capsule that fills while its filter is the one in force.
Q.AbstractButton {
    id: chip
    required property string title
    required property bool selected
    // The focused chip is tinted in the focus colour instead of white.
    property bool focusChip: false
    property color focusPink: Qt.rgba(237 / 255, 181 / 255, 194 / 255, 1)
    readonly property color tint: focusChip ? focusPink : "white"

    focusPolicy: Qt.NoFocus
    hoverEnabled: true
    leftPadding: 8
    rightPadding: 8
    topPadding: 6
    bottomPadding: 6
    opacity: pressed ? 0.7 : 1
    background: Rectangle {
        radius: height / 2
        color: Qt.rgba(chip.tint.r, chip.tint.g, chip.tint.b, chip.selected ? 0.1 : 0)
    }
    contentItem: Text {
        text: chip.title
        color: chip.selected ? chip.tint : "#8e8e93"
        font.pixelSize: 11
        font.weight: Font.Medium
    }
    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.checkable: true
    Accessible.checked: selected
}
