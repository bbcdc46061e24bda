import QtQuick
import TandrelNotch

// Restricts the list to one label: the face shows the label in its colour ("All labels" stays plain).
NotchButton {
    id: control
    required property Inbox inbox
    readonly property bool allLabels: inbox.label === "All labels"
    readonly property color faceColor: allLabels ? NotchStyle.grey : NotchStyle.black

    opensMenu: true
    Accessible.role: Accessible.ButtonMenu
    focusRadius: NotchStyle.chipRadius
    leftPadding: allLabels ? 0 : 6
    rightPadding: allLabels ? 0 : 6
    topPadding: 3
    bottomPadding: 3
    implicitHeight: Math.max(28, implicitContentHeight + topPadding + bottomPadding)
    implicitWidth: Math.min(104, implicitContentWidth + leftPadding + rightPadding)
    background: Rectangle {
        anchors.centerIn: parent
        width: parent.width
        height: control.implicitContentHeight + control.topPadding + control.bottomPadding
        radius: NotchStyle.chipRadius
        color: control.allLabels ? "transparent" : control.inbox.controls.labelFaceColor
    }
    contentItem: Row {
        spacing: 4
        Text {
            textFormat: Text.PlainText
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, 104 - control.leftPadding - control.rightPadding - 12)
            text: control.inbox.label
            elide: Text.ElideRight
            maximumLineCount: 1
            color: control.faceColor
            font.pixelSize: NotchStyle.chipSize
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

    NotchToolTip {
        text: qsTr("Filter by label: %1").arg(control.inbox.label)
        shown: control.hovered

    }
    Accessible.name: qsTr("Message labels: %1").arg(control.inbox.label)
}
