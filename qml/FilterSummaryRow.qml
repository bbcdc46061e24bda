import QtQuick
import TandrelNotch

// What is filtered, and a way back to everything.
Row {
    id: summary
    required property Inbox inbox

    spacing: 8

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: summary.inbox.controls.activeFilterSummary
        color: "#8e8e93"
        font.pixelSize: 10
    }
    Text {
        id: clear
        objectName: "clearFilters"
        anchors.verticalCenter: parent.verticalCenter
        text: qsTr("Clear")
        color: clearArea.pressed ? Qt.rgba(1, 1, 1, 0.5) : "white"
        font.pixelSize: 10
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Clear")
        Accessible.onPressAction: summary.inbox.controls.clearFilters()
        MouseArea {
            id: clearArea
            anchors.fill: parent
            anchors.margins: -4
            onClicked: summary.inbox.controls.clearFilters()
        }
    }
}
