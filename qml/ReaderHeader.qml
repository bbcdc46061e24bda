import QtQuick
import TandrelNotch

// The reader's header: avatar, sender with the label (a chip in the personal inbox, the label menu in a
// team's), the focus button and, for long messages, the button that switches the short and full form.
Item {
    id: header
    required property Inbox inbox
    required property color focusPink
    required property bool reduceMotion
    readonly property ReaderState reader: inbox.reader

    implicitHeight: Math.max(avatar.implicitHeight, names.implicitHeight, 30)

    Row {
        id: lead
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10

        MessageAvatar {
            id: avatar
            anchors.verticalCenter: parent.verticalCenter
            initials: header.reader.initials
            tint: header.reader.color
        }
        Column {
            id: names
            anchors.verticalCenter: parent.verticalCenter
            spacing: 3
            Text {
                textFormat: Text.PlainText
                objectName: "readerSender"
                text: header.reader.sender
                color: NotchStyle.white
                font.pixelSize: NotchStyle.readerSize
                font.weight: Font.DemiBold
                elide: Text.ElideRight
                width: Math.min(implicitWidth, header.width - trail.width - avatar.width - 20)
            }
            LabelChip {
                visible: header.reader.personal && header.reader.category.length > 0
                label: header.reader.category
                fill: header.reader.labelColor
            }
            TeamLabelMenu {
                visible: !header.reader.personal && implicitWidth > 0
                inbox: header.inbox
                messageId: header.reader.messageId
                category: header.reader.category
                labelColor: header.reader.labelColor
                accessibleName: header.reader.teamLabelAccessibleName
            }
        }
    }

    Row {
        id: trail
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        FocusButton {
            objectName: "readerFocusButton"
            compact: false
            title: header.reader.focusTitle
            focused: header.reader.focused
            released: header.reader.released
            tooltip: header.reader.focusTooltip
            accessibleName: header.reader.focusAccessibleName
            accessibleValue: header.reader.focusAccessibleValue
            focusPink: header.focusPink
            reduceMotion: header.reduceMotion
            onToggled: header.reader.toggleFocus("")
        }
        SymbolButton {
            objectName: "resizeButton"
            visible: header.inbox.canResizeReader
            width: 28
            height: 30
            symbol: header.reader.resizeSymbol
            symbolSize: 12
            tint: NotchStyle.resizeTint
            help: header.reader.resizeHelp
            onClicked: header.inbox.toggleReaderSize()
        }
    }
}
