import QtQuick

// The panel's root view: the notch surface, centred at the top of the panel, with the bar beside the
// notch and, while open, the card below it. Every drawn size of the surface goes to
// presentedSizeChange; Escape collapses the surface at once.
Item {
    id: root
    required property QtObject inbox
    // Carries `reduceMotion` (the desktop's setting); absent means motion is not reduced.
    property QtObject motionSetting: null
    readonly property bool reduceMotion: motionSetting ? motionSetting.reduceMotion : false
    // True only while the shell applies a change that came from the keyboard.
    property bool keyboardTransaction: false

    readonly property color accent: Qt.rgba(0.75, 0.96, 0.48, 1)
    readonly property color focusPink: Qt.rgba(237 / 255, 181 / 255, 194 / 255, 1)

    signal presentedSizeChange(size presented)
    signal exitCommand()

    width: 720
    height: 720
    focus: true

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
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 0

                NotchBar {
                    width: surface.width
                    inbox: root.inbox
                    focusPink: root.focusPink
                    reduceMotion: root.reduceMotion
                    keyboard: root.keyboardTransaction
                }

                // The open card: its content arrives with the list and the reader.
                Item {
                    id: card
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: root.inbox.contentWidth
                    height: root.inbox.contentHeight
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

                    Text {
                        x: 24
                        y: 9
                        text: root.inbox.scopeName
                        color: "white"
                        font.pixelSize: 19
                        font.weight: Font.DemiBold
                        font.letterSpacing: -0.5
                        elide: Text.ElideRight
                        width: parent.width - 24
                    }
                }
            }
        }
    }
}
