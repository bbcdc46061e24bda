import QtQuick
import QtQuick.Controls.Basic as Q
import QtQuick.Layouts
import TandrelNotch

// The open card's header: the inbox title (a menu to switch inboxes, or the way back from a message),
// the search field and its toggle, and the collapse button.
RowLayout {
    id: header
    required property Inbox inbox
    required property bool searchVisible
    property bool reduceMotion: false
    property bool keyboard: false
    signal searchToggled()
    // "Back to inbox": the card leaves the message.
    signal backRequested()
    // Down in the search field: the keyboard goes on to the list.
    signal searchLeft()

    spacing: 8

    NotchFeedback {
        id: selectionFeedback
        value: header.inbox.hasSelection
        movement: true
        reduceMotion: header.reduceMotion
        keyboard: header.keyboard
    }
    NotchFeedback {
        id: searchFeedback
        value: header.searchVisible
        movement: true
        reduceMotion: header.reduceMotion
        keyboard: header.keyboard
    }

    PanelMenu {
        id: scopeMenu
        onTriggered: value => header.inbox.switchScopeTo(String(value))
    }

    TextMetrics {
        id: titleMetrics
        text: header.inbox.scopeName
        font.pixelSize: NotchStyle.titleSize
        font.weight: Font.DemiBold
        font.letterSpacing: -0.5
    }

    Item {
        id: titleArea
        Layout.preferredWidth: Math.min(title.implicitWidth, header.width - 8 * 3 - searchBox.width - 56)
        Layout.preferredHeight: 28

        NotchButton {
            id: title
            objectName: "inboxTitle"
            anchors.fill: parent
            implicitWidth: 24 + titleMetrics.advanceWidth + 2
            opensMenu: !header.inbox.hasSelection
            contentItem: Item {
                Text {
                    textFormat: Text.PlainText
                    x: 24
                    width: parent.width - 24
                    anchors.verticalCenter: parent.verticalCenter
                    text: header.inbox.scopeName
                    color: NotchStyle.white
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pixelSize: NotchStyle.titleSize
                    font.weight: Font.DemiBold
                    font.letterSpacing: -0.5
                }
            }
            onClicked: {
                if (header.inbox.hasSelection)
                    header.backRequested()
                else
                    scopeMenu.popup(title, header.inbox.controls.scopeMenu())
            }

            NotchToolTip {
                text: header.inbox.hasSelection ? qsTr("Back to inbox") : qsTr("Switch personal or team inbox")
                shown: title.hovered
            }
            Accessible.role: header.inbox.hasSelection ? Accessible.Button : Accessible.ButtonMenu
            Accessible.name: header.inbox.hasSelection ? qsTr("Back to inbox") : header.inbox.scopeName
            Accessible.description: header.inbox.hasSelection ? "" : qsTr("Switch personal or team inbox")
        }

        // Over the title's leading space: points down to the menu, or back (a quarter turn) from a message.
        Item {
            width: 24
            height: 28
            enabled: false
            Symbol {
                anchors.centerIn: parent
                name: "chevron.down"
                size: 13
                rotation: header.inbox.hasSelection ? 90 : 0
                Behavior on rotation {
                    enabled: selectionFeedback.animated
                    NumberAnimation {
                        duration: selectionFeedback.duration
                        easing.type: Easing.Bezier
                        easing.bezierCurve: selectionFeedback.curve
                    }
                }
            }
        }
    }

    Item {
        Layout.fillWidth: true
    }

    Rectangle {
        id: searchBox
        Layout.preferredWidth: header.searchVisible ? 124 : 0
        Layout.preferredHeight: 24
        radius: NotchStyle.searchRadius
        clip: true
        color: header.searchVisible ? NotchStyle.fieldFill : "transparent"
        Behavior on Layout.preferredWidth {
            enabled: searchFeedback.animated
            NumberAnimation {
                duration: searchFeedback.duration
                easing.type: Easing.Bezier
                easing.bezierCurve: searchFeedback.curve
            }
        }

        Q.TextField {
            id: field
            objectName: "searchField"
            x: 0
            width: 116
            anchors.verticalCenter: parent.verticalCenter
            visible: searchBox.width > 0
            placeholderText: qsTr("Search messages")
            placeholderTextColor: NotchStyle.grey
            color: NotchStyle.white
            selectionColor: NotchStyle.selection
            font.pixelSize: NotchStyle.rowSize
            leftPadding: 8
            rightPadding: 0
            topPadding: 3
            bottomPadding: 3
            background: null
            text: header.inbox.query
            onTextEdited: header.inbox.query = text
            Accessible.name: qsTr("Search messages")
            // Down leaves the field for the rows it filters.
            Keys.onDownPressed: event => {
                event.accepted = true
                header.searchLeft()
            }
        }
        FocusRing {
            shown: field.activeFocus
            cornerRadius: NotchStyle.searchRadius
        }
    }

    SymbolButton {
        objectName: "searchToggle"
        symbol: "magnifyingglass"
        tint: header.searchVisible ? NotchStyle.white : NotchStyle.grey
        help: header.searchVisible ? qsTr("Close search") : qsTr("Search messages")
        onClicked: header.searchToggled()
    }

    SymbolButton {
        objectName: "collapseButton"
        symbol: "chevron.up"
        help: qsTr("Collapse inbox")
        onClicked: header.inbox.close()
    }

    function focusSearch() {
        field.forceActiveFocus(Qt.ShortcutFocusReason)
    }

    // The field takes the keyboard when the search opens and gives it up when it closes.
    onSearchVisibleChanged: {
        if (searchVisible)
            field.forceActiveFocus()
        else
            field.focus = false
    }
}
