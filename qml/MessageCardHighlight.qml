import QtQuick

// The soft card behind a list row: brighter under the pointer, with a faint tint while its thread is
// focused for the agent.
Item {
    id: highlight
    property bool focused: false
    property color tint: "white"
    property bool hovered: false

    Rectangle {
        anchors.fill: parent
        radius: 14
        color: Qt.rgba(1, 1, 1, highlight.hovered ? 0.08 : 0.035)
    }
    Rectangle {
        objectName: "focusTint"
        anchors.fill: parent
        radius: 14
        color: highlight.focused ? Qt.rgba(highlight.tint.r, highlight.tint.g, highlight.tint.b, 0.04) : "transparent"
    }
}
