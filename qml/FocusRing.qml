import QtQuick
import TandrelNotch

// The ring around the control that has the keyboard: over its parent, just outside its edges. It shows only
// while the control was reached by the keyboard (Tab, the arrows), never after a click.
Rectangle {
    id: ring
    // Whether the ring shows; the control binds its keyboard focus here.
    property bool shown: false
    property real cornerRadius: 6

    anchors.fill: parent
    anchors.margins: -NotchStyle.focusRingOffset
    radius: cornerRadius + NotchStyle.focusRingOffset
    color: "transparent"
    border.width: NotchStyle.focusRingWidth
    border.color: NotchStyle.focusRing
    visible: shown
    z: 100
    Accessible.ignored: true
}
