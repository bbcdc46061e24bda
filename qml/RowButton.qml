import QtQuick
import QtQuick.Controls.Basic as Q

// A whole row as a button without any button chrome: the label as it is, dimmed while pressed.
Q.AbstractButton {
    id: control
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    background: null
    padding: 0
    opacity: pressed ? 0.7 : 1
}
