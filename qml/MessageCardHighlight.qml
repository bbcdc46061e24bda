import QtQuick
import TandrelNotch

// The soft card behind a list row: brighter under the pointer, with a faint tint while its thread is
// focused for the agent.
Item {
    id: highlight
    property bool focused: false
    property color tint: NotchStyle.white
    property bool hovered: false

    Rectangle {
        anchors.fill: parent
        radius: NotchStyle.cardRadius
        color: highlight.hovered ? NotchStyle.cardHover : NotchStyle.cardRest
    }
    Rectangle {
        objectName: "focusTint"
        anchors.fill: parent
        radius: NotchStyle.cardRadius
        color: highlight.focused ? NotchStyle.alpha(highlight.tint, NotchStyle.focusTintOpacity) : "transparent"
    }
}
