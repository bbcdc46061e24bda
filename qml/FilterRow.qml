import QtQuick
import QtQuick.Layouts
import TandrelNotch

// The chips, then the label and filter menus.
RowLayout {
    id: filters
    required property Inbox inbox
    required property color focusPink
    readonly property ListControls controls: inbox.controls

    spacing: 6

    PanelMenu {
        id: filterMenu
        onTriggered: value => filters.controls.chooseFilter(String(value))
    }

    FilterChip {
        objectName: "allChip"
        title: filters.controls.allChipTitle
        selected: filters.inbox.filter === ListControls.All
        onClicked: filters.controls.chooseChip(ListControls.All)
    }
    FilterChip {
        objectName: "directChip"
        visible: filters.controls.showsDirectChip
        title: filters.controls.directChipTitle
        selected: filters.inbox.filter === ListControls.Direct
        onClicked: filters.controls.chooseChip(ListControls.Direct)
    }
    FilterChip {
        objectName: "focusedChip"
        title: filters.controls.focusedChipTitle
        focusChip: true
        focusPink: filters.focusPink
        selected: filters.inbox.filter === ListControls.Focused
        onClicked: filters.controls.chooseChip(ListControls.Focused)
    }
    Item {
        Layout.fillWidth: true
    }
    LabelFilterMenu {
        objectName: "labelFilterMenu"
        inbox: filters.inbox
    }
    SymbolButton {
        id: filterButton
        objectName: "filterButton"
        symbol: "line.3.horizontal.decrease"
        tint: filters.controls.activeFilterSummary.length > 0 ? filters.focusPink : NotchStyle.grey
        help: qsTr("Filter messages")
        opensMenu: true
        Accessible.role: Accessible.ButtonMenu
        onClicked: filterMenu.popup(filterButton, filters.controls.filterMenu())
    }
}
