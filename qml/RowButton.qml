import QtQuick
import TandrelNotch

// A whole row as a button without any button chrome: the label as it is, dimmed while pressed, the focus
// ring around the row's card.
NotchButton {
    focusRadius: NotchStyle.cardRadius
}
