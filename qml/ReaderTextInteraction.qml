import QtQuick
import TandrelNotch

// Message text that a double click switches between the reader's full and short form (long messages
// only), and whose context menu asks for the whole message to be copied as plain text (the owner reads
// the text only then: a long body is not handed to every block).
Item {
    id: interaction
    property bool canResize: false
    // What this piece shows, for a screen reader.
    property string text
    default property alias content: holder.data
    signal toggleSize()
    signal copyRequested()

    implicitWidth: holder.childrenRect.width
    implicitHeight: holder.childrenRect.height

    Item {
        id: holder
        anchors.fill: parent
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        enabled: interaction.canResize
        acceptedButtons: Qt.LeftButton
        onDoubleTapped: interaction.toggleSize()
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: (point, button) => menu.popupAt(interaction, point.position, [{ text: qsTr("Copy text"), value: "copy" }])
    }
    PanelMenu {
        id: menu
        onTriggered: interaction.copyRequested()
    }

    NotchToolTip {
        text: qsTr("Double-click to expand or compact the message")
        shown: interaction.canResize && hover.hovered
        delay: 800

    }

    Accessible.role: Accessible.StaticText
    Accessible.name: interaction.text
    Accessible.description: interaction.canResize ? qsTr("Toggle message size") : ""
    Accessible.onToggleAction: if (interaction.canResize) interaction.toggleSize()
}
