import QtQuick
import TandrelNotch

// What is filtered, and a way back to everything.
Row {
    id: summary
    required property Inbox inbox

    spacing: 8

    Text {
        textFormat: Text.PlainText
        anchors.verticalCenter: parent.verticalCenter
        text: summary.inbox.controls.activeFilterSummary
        color: NotchStyle.grey
        font.pixelSize: NotchStyle.metaSize
    }
    NotchButton {
        id: clear
        objectName: "clearFilters"
        anchors.verticalCenter: parent.verticalCenter
        focusRadius: 3
        contentItem: Text {
            textFormat: Text.PlainText
            text: qsTr("Clear")
            color: clear.pressed ? NotchStyle.pressedText : NotchStyle.white
            font.pixelSize: NotchStyle.metaSize
        }
        onClicked: summary.inbox.controls.clearFilters()
        Accessible.name: qsTr("Clear")
    }
}
