import QtQuick
import QtQuick.Controls.Basic as Q

// A tooltip whose text is never read as markup (it may name a label or a subject), shown after its delay
// while `shown` holds.
Q.ToolTip {
    id: tip
    property bool shown: false
    visible: shown && text.length > 0
    delay: 600
    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font: tip.font
        wrapMode: Text.Wrap
        color: tip.palette.toolTipText
    }
}
