import QtQuick
import TandrelNotch

// A filter chip: the title on a capsule that fills while its filter is the one in force.
NotchButton {
    id: chip
    required property string title
    required property bool selected
    // The focused chip is tinted in the focus colour instead of white.
    property bool focusChip: false
    property color focusPink: NotchStyle.focusPink
    focusRadius: height / 2
    readonly property color tint: focusChip ? focusPink : NotchStyle.white

    leftPadding: 8
    rightPadding: 8
    topPadding: 6
    bottomPadding: 6
    background: Rectangle {
        radius: height / 2
        color: NotchStyle.alpha(chip.tint, chip.selected ? NotchStyle.chipFillOpacity : 0)
    }
    contentItem: Text {
        textFormat: Text.PlainText
        text: chip.title
        color: chip.selected ? chip.tint : NotchStyle.grey
        font.pixelSize: NotchStyle.chipSize
        font.weight: Font.Medium
    }
    Accessible.role: Accessible.CheckBox
    Accessible.name: title
    Accessible.checkable: true
    Accessible.checked: selected
}
