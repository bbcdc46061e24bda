import QtQuick
import QtQuick.Controls.Basic as Q

// The tooltip a NotchToolTip stands for, over the item that one is declared in; its text is never read as
// markup.
Q.ToolTip {
    id: popup
    required property NotchToolTip tip

    parent: tip.parent
    text: tip.text
    delay: tip.delay
    // Bound once made, so that it opens after its delay as a tooltip does, even when made on being shown.
    Component.onCompleted: visible = Qt.binding(() => tip.shown && tip.text.length > 0)
    contentItem: Text {
        text: popup.text
        textFormat: Text.PlainText
        font: popup.font
        wrapMode: Text.Wrap
        color: popup.palette.toolTipText
    }
}
