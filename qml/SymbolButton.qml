import QtQuick
import TandrelNotch

// A borderless button showing one symbol in a square frame; its help text is both its tooltip and what a
// screen reader says.
NotchButton {
    id: control
    required property string symbol
    property color tint: NotchStyle.white
    property real symbolSize: 13
    property string help

    implicitWidth: 28
    implicitHeight: 28
    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: control.symbol
            tint: control.tint
            size: control.symbolSize
        }
    }

    NotchToolTip {
        text: control.help
        shown: control.hovered
    }
    Accessible.name: help
}
