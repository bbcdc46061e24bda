import QtQuick
import QtQuick.Controls.Basic as Q
import TandrelNotch

// Restricts the list to one label: the face shows the label in its colour ("All labels" stays plain).
Q.AbstractButton {
    id: control
    required property Inbox inbox
    readonly property bool allLabels: inbox.label === "All labels"
    readonly property color faceColor: allLabels ? "#8e8e93" : "black"

    focusPolicy: Qt.NoFocus
    hoverEnabled: true
    leftPadding: allLabels ? 0 : 6
    rightPadding: allLabels ? 0 : 6
    topPadding: 3
    bottomPadding: 3
    implicitHeight: Math.max(28, implicitContentHeight + topPadding + bottomPadding)
    implicitWidth: Math.min(104, implicitContentWidth + leftPadding + rightPadding)
    opacity: pressed ? 0.7 : 1
    background: Rectangle {
        anchors.centerIn: parent
        width: parent.width
        height: control.implicitContentHeight + control.topPadding + control.bottomPadding
        radius: 4
        color: control.allLabels ? "transparent" : control.inbox.controls.labelFaceColor
    }
    contentItem: Row {
        spacing: 4
        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, 104 - control.leftPadding - control.rightPadding - 12)
            text: control.inbox.label
            elide: Text.ElideRight
            maximumLineCount: 1
            color: control.faceColor
            font.pixelSize: 11
            font.weight: Font.Medium
        }
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.down"
            tint: control.faceColor
            size: 8
        }
    }

    PanelMenu {
        id: menu
        onTriggered: value => control.inbox.label = String(value)
    }
    onClicked: menu.popup(control, inbox.controls.labelFilterMenu())

    Q.ToolTip.text: qsTr("Filter by label: %1").arg(inbox.label)
    Q.ToolTip.visible: hovered
    Q.ToolTip.delay: 600
    Accessible.role: Accessible.ButtonMenu
    Accessible.name: qsTr("Message labels: %1").arg(inbox.label)
    Accessible.onPressAction: control.clicked()
}
