import QtQuick
import QtQuick.Controls.Basic as Q

// A borderless button showing one symbol in a square frame; its help text is both its tooltip and what a
// screen reader says.
Q.AbstractButton {
    id: control
    required property string symbol
    property color tint: "white"
    property real symbolSize: 13
    property string help

    implicitWidth: 28
    implicitHeight: 28
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    opacity: pressed ? 0.7 : 1
    background: null
    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: control.symbol
            tint: control.tint
            size: control.symbolSize
        }
    }

    Q.ToolTip.text: help
    Q.ToolTip.visible: hovered && help.length > 0
    Q.ToolTip.delay: 600
    Accessible.role: Accessible.Button
    Accessible.name: help
}
