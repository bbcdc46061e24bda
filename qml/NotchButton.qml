import QtQuick
import TandrelNotch
import QtQuick.Controls.Basic as Q

// A button of the card without platform chrome. It works three ways alike: a click, the keyboard (it is
// reached by Tab, Return, Enter and Space press it) and a screen reader's press action. A control that
// opens a menu also answers the Menu key and Shift+F10. The focus ring shows while it has the keyboard.
Q.AbstractButton {
    id: control
    // Pressing opens a menu: the Menu key and Shift+F10 press it too.
    property bool opensMenu: false
    // The radius of the ring drawn while the control has the keyboard.
    property real focusRadius: 6

    focusPolicy: Qt.TabFocus
    hoverEnabled: true
    background: null
    padding: 0
    opacity: pressed ? NotchStyle.pressedOpacity : 1

    Keys.onPressed: event => {
        const returnKey = event.key === Qt.Key_Return || event.key === Qt.Key_Enter
        const menuKey = event.key === Qt.Key_Menu
                || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))
        if ((returnKey && !(event.modifiers & Qt.ControlModifier)) || (menuKey && control.opensMenu)) {
            event.accepted = true
            control.clicked()
        }
    }

    // Qt 6.4's controls tell the bridge their class's role (a push button) whatever is set here; the
    // role is kept for the versions that read it.
    Accessible.role: opensMenu ? Accessible.ButtonMenu : Accessible.Button
    Accessible.onPressAction: if (control.enabled) control.clicked()

    FocusRing {
        shown: control.activeFocus
        cornerRadius: control.focusRadius
    }
}
