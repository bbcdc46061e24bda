import QtQuick

// The box under an unreleased message: it waits for its owner's approval.
Rectangle {
    id: box
    objectName: "approvalBox"
    required property string text
    visible: text.length > 0
    implicitHeight: visible ? label.implicitHeight + 20 : 0
    radius: 8
    color: Qt.rgba(1, 0.584, 0, 0.07)

    Text {
        id: label
        x: 10
        y: 10
        width: box.width - 20
        text: box.text
        color: "orange"
        font.pixelSize: 11
        wrapMode: Text.Wrap
    }
}
