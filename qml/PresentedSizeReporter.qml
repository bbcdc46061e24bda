import QtQuick

// Publishes the surface's size on every change, including every frame of an animation, so that the
// shell's hit testing follows the surface as it is drawn. It takes no pointer events.
Item {
    id: reporter
    property size size: Qt.size(0, 0)
    signal report(size presented)

    enabled: false
    onSizeChanged: reporter.report(reporter.size)
    Component.onCompleted: reporter.report(reporter.size)
}
