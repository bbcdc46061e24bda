import QtQuick

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
        tint: "orange"
        size: 11
    }
    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: notice.text
        color: "orange"
        font.pixelSize: 10
    }
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
