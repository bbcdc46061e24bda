import QtQuick
import TandrelNotch

// The panel's root view: the notch surface, centred at the top of the panel, with the bar beside the
// notch and, while open, the card below it. Every drawn size of the surface goes to
// presentedSizeChange; Escape collapses the surface at once; a right click on the bar asks the shell
// for the application menu at a point of the view (menuRequest).
Item {
    id: root
    required property Inbox inbox
    // The desktop's reduce-motion setting; the shell keeps it current.
    property bool reduceMotion: false
    // The search field is shown.
    property bool searchVisible: false
    // True only while the shell applies a change that came from the keyboard.
    property bool keyboardTransaction: false

    readonly property color accent: NotchStyle.accent
    readonly property color focusPink: NotchStyle.focusPink

    signal presentedSizeChange(size presented)
    signal exitCommand()
    signal menuRequest(point position)

    width: 720
    height: 720
    focus: true

    // Another message (or none): the direct conversation's draft and the reply status start afresh.
    Connections {
        target: root.inbox
        function onSelectedIDChanged() {
            root.inbox.directDraft = ""
            root.inbox.clearReplyStatus()
        }
    }

    // Another message is about to replace the one on show: it cross-fades.
    function holdReader() {
        card.holdReader()
    }

    function toggleSearch() {
        // Opening takes the keyboard first, so that the field can then take it over.
        if (!root.searchVisible)
            root.inbox.open()
        root.searchVisible = !root.searchVisible
        if (!root.searchVisible)
            root.inbox.query = ""
    }

    // The card's keys, for whichever control has the keyboard (a text field keeps its own Backspace):
    // Ctrl+F searches, Backspace and Alt+Left go back from a message to the list.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_F && (event.modifiers & Qt.ControlModifier)) {
            event.accepted = true
            if (!root.searchVisible)
                root.toggleSearch()
            else
                card.focusSearch()
        } else if (event.key === Qt.Key_Backspace && !(event.modifiers & ~Qt.KeypadModifier)) {
            if (root.inbox.hasSelection) {
                event.accepted = true
                card.goBack()
            }
        }
    }

    // A text field takes Alt+Left as a move of its cursor before the card's keys see it; a shortcut comes first.
    Shortcut {
        sequence: "Alt+Left"
        enabled: root.inbox.hasSelection
        onActivated: card.goBack()
    }

    Keys.onEscapePressed: {
        root.keyboardTransaction = true
        root.inbox.close()
        root.keyboardTransaction = false
        root.exitCommand()
    }

    NotchGeometryTransaction {
        id: geometry
        phase: root.inbox.presentationPhase
        size: Qt.size(root.inbox.presentationWidth, root.inbox.presentationHeight)
        profile: root.inbox.geometryProfile
        reduceMotion: root.reduceMotion
        keyboard: root.keyboardTransaction
    }

    Item {
        id: frame
        width: 680
        height: 660
        anchors.horizontalCenter: parent.horizontalCenter

        NotchSurface {
            id: surface
            objectName: "notchSurface"
            anchors.horizontalCenter: parent.horizontalCenter
            targetSize: geometry.size
            expanded: root.inbox.expanded
            hasNotch: root.inbox.hasNotch
            transaction: geometry
            onPresentedSizeChange: presented => root.presentedSizeChange(presented)

            Column {
                // As wide as the surface: the bar spans it, the card centres itself in it.
                width: surface.width
                spacing: 0

                NotchBar {
                    id: bar
                    objectName: "notchBar"
                    width: surface.width
                    inbox: root.inbox
                    focusPink: root.focusPink
                    reduceMotion: root.reduceMotion
                    keyboard: root.keyboardTransaction
                    onMenuRequested: position => root.menuRequest(bar.mapToItem(root, position))
                }

                OpenContent {
                    id: card
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: root.inbox.contentWidth
                    height: root.inbox.contentHeight
                    inbox: root.inbox
                    accent: root.accent
                    focusPink: root.focusPink
                    reduceMotion: root.reduceMotion
                    keyboard: root.keyboardTransaction
                    searchVisible: root.searchVisible
                    onSearchToggled: root.toggleSearch()
                    opacity: root.inbox.expanded ? 1 : 0
                    visible: opacity > 0
                    Behavior on opacity {
                        enabled: geometry.animated
                        NumberAnimation {
                            duration: geometry.duration
                            easing.type: Easing.Bezier
                            easing.bezierCurve: geometry.curve
                        }
                    }
                }
            }
        }
    }
}
