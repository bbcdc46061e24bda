pragma Singleton
import QtQuick

// The card's look in one place: its colours, the opacities of white it draws text and panels in, its corner
// radii and its type sizes (pixel sizes of the system font). Views read them by name.
QtObject {
    // Colours.
    readonly property color white: "white"
    readonly property color black: "black"
    readonly property color grey: "#8e8e93"
    readonly property color orange: "orange"
    readonly property color accent: Qt.rgba(0.75, 0.96, 0.48, 1)
    readonly property color focusPink: Qt.rgba(237 / 255, 181 / 255, 194 / 255, 1)
    readonly property color linkPink: Qt.rgba(0.94, 0.70, 0.77, 1)
    // The panel behind a reply's code and quotes.
    readonly property color replyBackdrop: Qt.rgba(0.04, 0.04, 0.04, 1)
    readonly property color approvalFill: Qt.rgba(1, 0.584, 0, 0.07)
    readonly property color downloadFill: Qt.rgba(0, 0, 0, 0.25)

    // White at the opacities the card uses, strongest first.
    readonly property color countText: Qt.rgba(1, 1, 1, 0.85)
    readonly property color bodyText: Qt.rgba(1, 1, 1, 0.78)
    readonly property color previewText: Qt.rgba(1, 1, 1, 0.75)
    readonly property color excerptText: Qt.rgba(1, 1, 1, 0.72)
    readonly property color badgeText: Qt.rgba(1, 1, 1, 0.6)
    readonly property color resizeTint: Qt.rgba(1, 1, 1, 0.6)
    readonly property color downloadTint: Qt.rgba(1, 1, 1, 0.55)
    readonly property color pressedText: Qt.rgba(1, 1, 1, 0.5)
    readonly property color captionText: Qt.rgba(1, 1, 1, 0.45)
    readonly property color placeholderText: Qt.rgba(1, 1, 1, 0.35)
    readonly property color separatorText: Qt.rgba(1, 1, 1, 0.3)
    readonly property color selection: Qt.rgba(1, 1, 1, 0.3)
    readonly property color ring: Qt.rgba(1, 1, 1, 0.25)
    readonly property color quoteBar: Qt.rgba(1, 1, 1, 0.2)
    readonly property color handle: Qt.rgba(1, 1, 1, 0.18)
    readonly property color cardHover: Qt.rgba(1, 1, 1, 0.08)
    readonly property color badgeFill: Qt.rgba(1, 1, 1, 0.07)
    readonly property color fieldFill: Qt.rgba(1, 1, 1, 0.06)
    readonly property color codeFill: Qt.rgba(1, 1, 1, 0.05)
    readonly property color replyFill: Qt.rgba(1, 1, 1, 0.04)
    readonly property color cardRest: Qt.rgba(1, 1, 1, 0.035)

    // Opacities of a colour of the caller's.
    readonly property real countOpacity: 0.85
    readonly property real avatarFillOpacity: 0.15
    readonly property real outgoingBubbleOpacity: 0.13
    readonly property real chipFillOpacity: 0.1
    readonly property real focusTintOpacity: 0.04
    readonly property real draftSelectionOpacity: 0.4
    readonly property real pressedOpacity: 0.7
    readonly property real unreleasedOpacity: 0.3
    readonly property real disabledOpacity: 0.35
    readonly property real collapsedIconOpacity: 0.7
    readonly property real quoteOpacity: 0.6

    // `color` at opacity `alpha`.
    function alpha(color: color, alpha: real): color {
        return Qt.rgba(color.r, color.g, color.b, alpha)
    }

    // Corner radii.
    readonly property real cardRadius: 14
    readonly property real bubbleRadius: 14
    readonly property real avatarRadius: 12
    readonly property real fieldRadius: 12
    readonly property real replyRadius: 10
    readonly property real attachmentRadius: 10
    readonly property real searchRadius: 8
    readonly property real approvalRadius: 8
    readonly property real codeRadius: 6
    readonly property real downloadRadius: 6
    readonly property real chipRadius: 4

    // Type sizes.
    readonly property int titleSize: 19
    readonly property int subjectSize: 18
    readonly property int emptyTitleSize: 14
    readonly property int barTitleSize: 13
    readonly property int readerSize: 13
    readonly property int rowSize: 12
    readonly property int chipSize: 11
    readonly property int noticeSize: 11
    readonly property int metaSize: 10
    readonly property int badgeSize: 9

    // The keyboard focus ring: drawn just outside a control, in the focus colour.
    readonly property color focusRing: focusPink
    readonly property real focusRingWidth: 1.5
    readonly property real focusRingOffset: 2
}
