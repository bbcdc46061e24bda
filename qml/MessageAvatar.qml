import QtQuick
import TandrelNotch

// The sender's initials in the message's colour, on a tile of the same colour.
Rectangle {
    id: avatar
    required property string initials
    required property color tint

    implicitWidth: 36
    implicitHeight: 36
    radius: NotchStyle.avatarRadius
    color: NotchStyle.alpha(tint, NotchStyle.avatarFillOpacity)
    Accessible.ignored: true

    Text {
        textFormat: Text.PlainText
        anchors.centerIn: parent
        text: avatar.initials
        color: avatar.tint
        font.pixelSize: NotchStyle.rowSize
        font.weight: Font.DemiBold
    }
}
