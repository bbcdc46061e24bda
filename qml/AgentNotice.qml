import QtQuick
import TandrelNotch

// The orange notice over a message the user's agent may not read yet.
Row {
    id: notice
    objectName: "agentNotice"
    required property string text
    spacing: 4
    visible: text.length > 0

    Symbol {
        anchors.verticalCenter: parent.verticalCenter
        name: "lock.shield"
        tint: NotchStyle.orange
        size: 11
    }
    Text {
        textFormat: Text.PlainText
        anchors.verticalCenter: parent.verticalCenter
        text: notice.text
        color: NotchStyle.orange
        font.pixelSize: NotchStyle.metaSize
    }
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
