import QtQuick
import TandrelNotch

// A message label as a small coloured chip.
Rectangle {
    id: chip
    required property string label
    required property color fill

    implicitWidth: text.implicitWidth + 12
    implicitHeight: text.implicitHeight + 4
    radius: NotchStyle.chipRadius
    color: fill

    Text {
        id: text
        textFormat: Text.PlainText
        anchors.centerIn: parent
        text: chip.label
        color: NotchStyle.black
        font.pixelSize: NotchStyle.metaSize
        font.weight: Font.Medium
    }
}
