import QtQuick

// A message label as a small coloured chip.
Rectangle {
    id: chip
    required property string label
    required property color fill

    implicitWidth: text.implicitWidth + 12
    implicitHeight: text.implicitHeight + 4
    radius: 4
    color: fill

    Text {
        id: text
        anchors.centerIn: parent
        text: chip.label
        color: "black"
        font.pixelSize: 10
        font.weight: Font.Medium
    }
}
