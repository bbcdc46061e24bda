pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch

// The black surface that grows out of the notch: square top corners on a notched screen (rounded
// otherwise), rounder bottom corners when open, a grab handle and a soft shadow while open. Its size
// follows `targetSize` through the geometry transaction, and every drawn size is reported.
Item {
    id: surface
    property size targetSize: Qt.size(0, 0)
    property bool expanded: false
    property bool hasNotch: false
    property NotchGeometryTransaction transaction
    default property alias content: contentArea.data
    signal presentedSizeChange(size presented)

    readonly property real topRadius: hasNotch ? 0 : 10
    readonly property real bottomRadius: expanded ? 30 : 8

    width: Math.max(0, targetSize.width)
    height: Math.max(0, targetSize.height)

    Behavior on width {
        enabled: surface.transaction.animated
        NumberAnimation {
            duration: surface.transaction.duration
            easing.type: Easing.Bezier
            easing.bezierCurve: surface.transaction.curve
        }
    }
    Behavior on height {
        enabled: surface.transaction.animated
        NumberAnimation {
            duration: surface.transaction.duration
            easing.type: Easing.Bezier
            easing.bezierCurve: surface.transaction.curve
        }
    }

    // The shadow: black at 0.28 blurred over 18 points, 10 points down, drawn as six widening layers so that
    // it needs nothing beyond plain rectangles.
    Item {
        id: shadow
        opacity: surface.expanded ? 1 : 0
        visible: opacity > 0 && surface.width > 0 && surface.height > 0
        Behavior on opacity {
            enabled: surface.transaction.animated
            NumberAnimation {
                duration: surface.transaction.duration
                easing.type: Easing.Bezier
                easing.bezierCurve: surface.transaction.curve
            }
        }
        Repeater {
            model: 6
            Rectangle {
                required property int index
                readonly property real spread: (index + 1) * 3
                x: -spread
                y: 10 - spread
                width: surface.width + 2 * spread
                height: surface.height + 2 * spread
                radius: surface.bottomRadius + spread
                color: NotchStyle.black
                // Six layers of 0.053 add up to 0.28 where they all overlap.
                opacity: 0.053
            }
        }
    }

    // The body: the upper half carries the top corners, the lower half the bottom ones.
    Item {
        id: upper
        width: surface.width
        height: Math.ceil(surface.height / 2)
        clip: true
        Rectangle {
            width: surface.width
            height: surface.height
            radius: surface.topRadius
            color: NotchStyle.black
        }
    }
    Item {
        id: lower
        y: Math.ceil(surface.height / 2)
        width: surface.width
        height: surface.height - y
        clip: true
        Rectangle {
            y: -lower.y
            width: surface.width
            height: surface.height
            radius: surface.bottomRadius
            color: NotchStyle.black
            Behavior on radius {
                enabled: surface.transaction.animated
                NumberAnimation {
                    duration: surface.transaction.duration
                    easing.type: Easing.Bezier
                    easing.bezierCurve: surface.transaction.curve
                }
            }
        }
    }

    Item {
        id: contentArea
        width: surface.width
        height: surface.height
        clip: true
    }

    Rectangle {
        id: handle
        visible: surface.expanded
        width: 32
        height: 3
        radius: 1.5
        color: NotchStyle.handle
        anchors.horizontalCenter: surface.horizontalCenter
        anchors.bottom: surface.bottom
        anchors.bottomMargin: 6
    }

    PresentedSizeReporter {
        anchors.centerIn: surface
        size: Qt.size(surface.width, surface.height)
        onReport: presented => surface.presentedSizeChange(presented)
    }
}
