import QtQuick
import TandrelNotch

// The box under an unreleased message: it waits for its owner's approval.
Rectangle {
    id: box
    objectName: "approvalBox"
    required property string text
    visible: text.length > 0
    implicitHeight: visible ? label.implicitHeight + 20 : 0
    radius: NotchStyle.approvalRadius
    color: NotchStyle.approvalFill

    Text {
        id: label
        textFormat: Text.PlainText
        x: 10
        y: 10
        width: box.width - 20
        text: box.text
        color: NotchStyle.orange
        font.pixelSize: NotchStyle.noticeSize
        wrapMode: Text.Wrap
    }
}
