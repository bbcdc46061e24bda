import QtQuick

// The sender's initials in the message's colour, on a tile of the same colour.
Rectangle {
    id: avatar
    required property string initials
    required property color tint

    implicitWidth: 36
    implicitHeight: 36
    radius: 12
    color: Qt.rgba(tint.r, tint.g, tint.b, 0.15)
    Accessible.ignored: true

    Text {
        anchors.centerIn: parent
        text: avatar.initials
        color: avatar.tint
        font.pixelSize: 12
        font.weight: Font.DemiBold
    }
}
